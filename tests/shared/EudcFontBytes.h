// The bytes of the smallest EUDC font the checks accept, for tests that need a linked
// file that works.
#pragma once

#include <cstdint>
#include <string>

// The bytes of a big-endian number.
inline std::string Be(std::uint32_t value, int bytes)
{
    std::string be;
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
        be += static_cast<char>(value >> shift & 0xFF);
    return be;
}

// A TrueType font of one table, a character map that gives four glyphs from U+E000.
inline std::string EudcFont()
{
    std::string cmap = Be(0, 2) + Be(1, 2) + Be(3, 2) + Be(1, 2) + Be(12, 4);
    cmap += Be(6, 2) + Be(18, 2) + Be(0, 2) + Be(0xE000, 2) + Be(4, 2);
    for (int glyph = 1; glyph <= 4; ++glyph)
        cmap += Be(glyph, 2);
    return Be(0x00010000, 4) + Be(1, 2) + Be(16, 2) + Be(0, 4) + "cmap" + Be(0, 4) + Be(28, 4) +
           Be(static_cast<std::uint32_t>(cmap.size()), 4) + cmap;
}
