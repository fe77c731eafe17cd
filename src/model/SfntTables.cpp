#include "model/SfntTables.h"

namespace {

// The place of a table in the file, from its table directory.
struct TableRecord {
    std::uint64_t offset;
    std::uint64_t length;
};

// The number of tables, from the first 12 bytes; nullopt when they are not a TrueType
// font's.
std::optional<std::uint64_t> TableCount(SfntBytes header)
{
    if (!header.Holds(0, 12))
        return std::nullopt;
    const std::uint32_t version = header.U32(0);
    if (version != 0x00010000 && version != SfntTag("true"))
        return std::nullopt;
    return header.U16(4);
}

std::optional<TableRecord> FindRecord(SfntBytes directory, std::uint64_t tableCount, std::uint32_t tag)
{
    for (std::uint64_t i = 0; i < tableCount; ++i) {
        const std::uint64_t record = 16 * i;
        if (directory.U32(record) == tag)
            return TableRecord{directory.U32(record + 8), directory.U32(record + 12)};
    }
    return std::nullopt;
}

// The `length` bytes at `offset`, when the file holds them all and gives them.
std::optional<std::string> ReadPart(ReadableFile& file, std::uint64_t offset, std::uint64_t length)
{
    const std::uint64_t size = file.Size();
    std::string bytes;
    if (offset > size || length > size - offset || !file.ReadAt(offset, static_cast<std::size_t>(length), bytes))
        return std::nullopt;
    return bytes;
}

}  // namespace

std::optional<std::string> ReadSfntTable(ReadableFile& file, std::uint32_t tag, std::uint64_t limit)
{
    const std::optional<std::string> header = ReadPart(file, 0, 12);
    const std::optional<std::uint64_t> tableCount = header ? TableCount(SfntBytes(*header)) : std::nullopt;
    if (!tableCount)
        return std::nullopt;
    const std::optional<std::string> directory = ReadPart(file, 12, 16 * *tableCount);
    if (!directory)
        return std::nullopt;
    const std::optional<TableRecord> table = FindRecord(SfntBytes(*directory), *tableCount, tag);
    if (!table || table->length > limit)
        return std::nullopt;
    return ReadPart(file, table->offset, table->length);
}
