#include "model/FontFaceName.h"

#include "model/SfntTables.h"

namespace {

// A naming table is a few kilobytes; one of a megabyte is no font's.
constexpr std::uint64_t kLargestNamingTable = 1u << 20;
constexpr std::uint16_t kFamilyName = 1;
constexpr std::uint16_t kUsEnglish = 0x0409;

// Records of the Windows platform in UTF-16: Unicode BMP (1) and full repertoire (10).
bool IsWindowsUnicode(std::uint16_t platform, std::uint16_t encoding)
{
    return platform == 3 && (encoding == 1 || encoding == 10);
}

// The UTF-16 name of `length` bytes at `offset` in the table.
std::optional<std::u16string> NameAt(SfntBytes table, std::uint64_t offset, std::uint64_t length)
{
    if (length == 0 || length % 2 != 0 || length / 2 > kLongestFaceName || !table.Holds(offset, length))
        return std::nullopt;
    std::u16string name;
    for (std::uint64_t at = offset; at < offset + length; at += 2) {
        const char16_t c = table.U16(at);
        if (c == 0)
            return std::nullopt;
        name += c;
    }
    return name;
}

std::optional<std::u16string> FamilyNameIn(SfntBytes table)
{
    if (!table.Holds(0, 6))
        return std::nullopt;
    const std::uint64_t count = table.U16(2);
    const std::uint64_t stringsAt = table.U16(4);
    if (!table.Holds(6, 12 * count) || !table.Holds(stringsAt, 0))
        return std::nullopt;
    std::optional<std::u16string> found;
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t record = 6 + 12 * i;
        if (!IsWindowsUnicode(table.U16(record), table.U16(record + 2)) || table.U16(record + 6) != kFamilyName)
            continue;
        const std::optional<std::u16string> name =
            NameAt(table, stringsAt + table.U16(record + 10), table.U16(record + 8));
        if (name && table.U16(record + 4) == kUsEnglish)
            return name;
        if (name && !found)
            found = name;
    }
    return found;
}

}  // namespace

std::optional<std::u16string> ReadFontFamilyName(ReadableFile& font)
{
    const std::optional<std::string> table = ReadSfntTable(font, SfntTag("name"), kLargestNamingTable);
    return table ? FamilyNameIn(SfntBytes(*table)) : std::nullopt;
}
