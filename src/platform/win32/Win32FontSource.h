// The installed font families of a window's screen, from EnumFontFamiliesA.
#pragma once

#include <windows.h>

#include "platform/FontSource.h"

class Win32FontSource : public FontSource {
public:
    explicit Win32FontSource(HWND window) : m_window(window) {}
    void EnumerateFamilies(const FontVisitor& visit) override;

private:
    HWND m_window;
};
