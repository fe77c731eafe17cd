// UTF-16 to UTF-8, for what the program writes where a terminal or a script reads it.
#pragma once

#include <string>
#include <string_view>

// A surrogate without its partner becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);
