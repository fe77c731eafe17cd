// UTF-16 to UTF-8, for what the program writes where a terminal or a script reads it, and
// back, for what it reads from its own files.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// A surrogate without its partner becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);
// None when the bytes are not UTF-8 (overlong forms and surrogates included).
std::optional<std::u16string> FromUtf8(std::string_view text);
