// Pictures encoded as PNG by the platform's own codec, Windows Imaging Component.
#pragma once

#include <windows.h>

#include <string>

// The PNG file's bytes of a 24-bit bottom-up or top-down picture of `width` by `height`
// pixels whose rows (blue, green, red) are `stride` bytes apart from `bits`; false when
// the codec fails.
bool EncodePng(const void* bits, int width, int height, int stride, std::string& png);
