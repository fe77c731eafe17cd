#include "model/EudcCharacters.h"

#include <algorithm>
#include <bitset>
#include <cstdio>
#include <cstdint>
#include <string>
#include <vector>

#include "model/SfntTables.h"

namespace {

constexpr std::uint32_t kFirst = kFirstEudcCharacter;
constexpr std::uint32_t kLast = kLastEudcCharacter;

// One bit for each code point of the area: a code point mapped twice still counts once.
using Area = std::bitset<kLast - kFirst + 1>;

using Bytes = SfntBytes;

// Segments to a code point, each with a delta or an offset into the glyph array. A code
// point belongs to the first segment whose end is at or above it, as a lookup finds it,
// so a segment decides only the code points above every earlier segment's end.
bool ReadFormat4(Bytes table, Area& area)
{
    if (!table.Holds(0, 14))
        return false;
    const std::uint16_t segCountX2 = table.U16(6);
    if (segCountX2 % 2 != 0)
        return false;
    const std::uint64_t segCount = segCountX2 / 2;
    const std::uint64_t ends = 14;
    const std::uint64_t starts = 16 + 2 * segCount;
    const std::uint64_t deltas = 16 + 4 * segCount;
    const std::uint64_t rangeOffsets = 16 + 6 * segCount;
    if (!table.Holds(0, 16 + 8 * segCount))
        return false;

    std::uint32_t undecided = 0;  // the lowest code point no earlier segment has decided
    for (std::uint64_t i = 0; i < segCount && undecided <= kLast; ++i) {
        const std::uint32_t end = table.U16(ends + 2 * i);
        if (end < undecided)
            continue;
        const std::uint32_t start = table.U16(starts + 2 * i);
        const std::uint16_t delta = table.U16(deltas + 2 * i);
        const std::uint16_t rangeOffset = table.U16(rangeOffsets + 2 * i);
        for (std::uint32_t c = std::max({start, undecided, kFirst}); c <= std::min(end, kLast); ++c) {
            std::uint32_t glyph = 0;
            if (rangeOffset == 0) {
                glyph = (c + delta) & 0xFFFF;
            } else {
                // An entry beyond the subtable is a character without a glyph: a lookup
                // finds nothing there, and the rest of the map still answers.
                const std::uint64_t at = rangeOffsets + 2 * i + rangeOffset + 2 * (c - start);
                glyph = table.Holds(at, 2) ? table.U16(at) : 0;
                if (glyph != 0)
                    glyph = (glyph + delta) & 0xFFFF;
            }
            if (glyph != 0)
                area.set(c - kFirst);
        }
        undecided = end + 1;
    }
    return true;
}

// A glyph for each code point from the first on.
bool ReadFormat6(Bytes table, Area& area)
{
    if (!table.Holds(0, 10))
        return false;
    const std::uint32_t firstCode = table.U16(6);
    const std::uint32_t entryCount = table.U16(8);
    if (!table.Holds(10, 2 * std::uint64_t{entryCount}))
        return false;
    for (std::uint32_t i = 0; i < entryCount; ++i) {
        const std::uint32_t c = firstCode + i;
        if (c >= kFirst && c <= kLast && table.U16(10 + 2 * i) != 0)
            area.set(c - kFirst);
    }
    return true;
}

// Groups of consecutive code points to consecutive glyphs.
bool ReadFormat12(Bytes table, Area& area)
{
    if (!table.Holds(0, 16))
        return false;
    const std::uint64_t groupCount = table.U32(12);
    if (!table.Holds(16, 12 * groupCount))
        return false;
    for (std::uint64_t i = 0; i < groupCount; ++i) {
        const std::uint64_t at = 16 + 12 * i;
        const std::uint32_t start = table.U32(at);
        const std::uint32_t end = table.U32(at + 4);
        const std::uint64_t startGlyph = table.U32(at + 8);
        for (std::uint32_t c = std::max(start, kFirst); c <= std::min(end, kLast); ++c) {
            if (startGlyph + (c - start) != 0)
                area.set(c - kFirst);
        }
    }
    return true;
}

// Unicode platform encoding 5 holds variation sequences, not characters.
bool IsUnicode(std::uint16_t platform, std::uint16_t encoding)
{
    return (platform == 0 && encoding <= 6 && encoding != 5) || (platform == 3 && (encoding == 1 || encoding == 10));
}

// Lower is better: format 12 maps the whole repertoire, format 4 the basic plane, and
// format 6 one run of it. Other formats are not read.
std::optional<int> Preference(std::uint16_t format)
{
    switch (format) {
    case 12:
        return 0;
    case 4:
        return 1;
    case 6:
        return 2;
    default:
        return std::nullopt;
    }
}

struct Subtable {
    int preference;
    std::uint16_t format;
    Bytes bytes;
};

// The subtable at `offset` in the character map, cut to the length it gives itself.
std::optional<Subtable> FindSubtable(Bytes cmap, std::uint32_t offset)
{
    if (!cmap.Holds(offset, 2))
        return std::nullopt;
    const std::uint16_t format = cmap.U16(offset);
    const std::optional<int> preference = Preference(format);
    if (!preference)
        return std::nullopt;
    std::uint64_t length = 0;
    if (format == 12) {
        if (!cmap.Holds(offset, 8))
            return std::nullopt;
        length = cmap.U32(offset + 4);
    } else {
        if (!cmap.Holds(offset, 4))
            return std::nullopt;
        length = cmap.U16(offset + 2);
    }
    const std::optional<Bytes> bytes = cmap.Part(offset, length);
    if (!bytes)
        return std::nullopt;
    return Subtable{*preference, format, *bytes};
}

bool Read(const Subtable& subtable, Area& area)
{
    switch (subtable.format) {
    case 12:
        return ReadFormat12(subtable.bytes, area);
    case 4:
        return ReadFormat4(subtable.bytes, area);
    default:
        return ReadFormat6(subtable.bytes, area);
    }
}

std::optional<Area> ReadArea(Bytes cmap)
{
    if (!cmap.Holds(0, 4))
        return std::nullopt;
    const std::uint64_t recordCount = cmap.U16(2);
    if (!cmap.Holds(4, 8 * recordCount))
        return std::nullopt;

    std::vector<Subtable> subtables;
    for (std::uint64_t i = 0; i < recordCount; ++i) {
        const std::uint64_t record = 4 + 8 * i;
        if (!IsUnicode(cmap.U16(record), cmap.U16(record + 2)))
            continue;
        if (const std::optional<Subtable> subtable = FindSubtable(cmap, cmap.U32(record + 4)))
            subtables.push_back(*subtable);
    }
    std::stable_sort(subtables.begin(), subtables.end(),
                     [](const Subtable& a, const Subtable& b) { return a.preference < b.preference; });

    // The best subtable that reads whole; a broken one does not hide a sound one.
    for (const Subtable& subtable : subtables) {
        Area area;
        if (Read(subtable, area))
            return area;
    }
    return std::nullopt;
}

// The area as the file's best readable Unicode map gives it; nullopt for no such map.
std::optional<Area> ReadArea(ReadableFile& font)
{
    const std::optional<std::string> cmap = ReadSfntTable(font, SfntTag("cmap"), kLargestCharacterMap);
    return cmap ? ReadArea(Bytes(*cmap)) : std::nullopt;
}

}  // namespace

std::optional<std::size_t> CountEudcCharacters(ReadableFile& font)
{
    const std::optional<Area> area = ReadArea(font);
    return area ? std::optional<std::size_t>(area->count()) : std::nullopt;
}

std::optional<std::vector<char32_t>> ListEudcCharacters(ReadableFile& font)
{
    const std::optional<Area> area = ReadArea(font);
    if (!area)
        return std::nullopt;
    std::vector<char32_t> characters;
    characters.reserve(area->count());
    for (std::size_t i = 0; i < area->size(); ++i) {
        if (area->test(i))
            characters.push_back(static_cast<char32_t>(kFirst + i));
    }
    return characters;
}

std::string CodePointText(char32_t c)
{
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
    return text;
}

std::string CodePageCodeOf(char32_t c, const CodePageRules& rules)
{
    const CString bytes = rules.toAnsi(std::u16string(1, static_cast<char16_t>(c)));
    if (bytes.size() != 2)  // a character the code page lacks comes back as '?'
        return {};
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X", static_cast<unsigned char>(bytes[0]),
                  static_cast<unsigned char>(bytes[1]));
    return text;
}
