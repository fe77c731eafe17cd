// The EUDC characters a font file holds, read from its Unicode character map.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/Files.h"

// The private use area where EUDC characters live: U+E000 to U+F8FF, 6,400 code points.
inline constexpr char32_t kFirstEudcCharacter = 0xE000;
inline constexpr char32_t kLastEudcCharacter = 0xF8FF;

// A character map larger than this is taken for no font. Fonts' own maps are far smaller:
// a format 4 subtable holds at most 64 KB, and a format 12 group for each code point of
// Unicode would take 13 MB.
inline constexpr std::size_t kLargestCharacterMap = 16u << 20;

// How many code points of that area the font's Unicode character map gives a glyph other
// than glyph 0; nullopt when `font` is not a TrueType font (sfnt version 0x00010000 or
// 'true': no CFF outlines, no collection, as EUDC files never are either) or has no
// Unicode character map that can be read (a table, record or subtable that does not lie
// inside the bytes, or counts that do not fit its length).
//
// Reads only the file's header, its table directory and its character map, where the
// file says they are, whatever the file's size.
std::optional<std::size_t> CountEudcCharacters(ReadableFile& font);

// The same code points, in ascending order, from the same reading: the listing's size is
// the count.
std::optional<std::vector<char32_t>> ListEudcCharacters(ReadableFile& font);

// "U+E000": the code point as Unicode writes it, four hexadecimal digits at least.
std::string CodePointText(char32_t c);
// The character's code in the code page, as hexadecimal digits of its bytes ("FA40"),
// by the system's own conversion; empty when the code page has none for it.
std::string CodePageCodeOf(char32_t c, const CodePageRules& rules);
