// How many EUDC characters a font file holds, read from its Unicode character map.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

// The private use area where EUDC characters live: U+E000 to U+F8FF, 6,400 code points.
inline constexpr char32_t kFirstEudcCharacter = 0xE000;
inline constexpr char32_t kLastEudcCharacter = 0xF8FF;

// How many code points of that area the font's Unicode character map gives a glyph other
// than glyph 0; nullopt when `font` is not a TrueType font (sfnt version 0x00010000 or
// 'true': no CFF outlines, no collection, as EUDC files never are either) or has no
// Unicode character map that can be read (a table, record or subtable that does not lie
// inside the bytes, or counts that do not fit its length).
std::optional<std::size_t> CountEudcCharacters(std::string_view font);
