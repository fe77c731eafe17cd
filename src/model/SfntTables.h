// The parts of a TrueType (sfnt) file that the model reads: its header, its table
// directory and one table, each read where the file says it is, and big-endian numbers
// read from them with every offset checked first.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Files.h"

// Big-endian bytes whose reads are checked with Holds first. Offsets are 64-bit so that
// a 32-bit offset plus a 32-bit length never wraps, on 32-bit Windows too.
class SfntBytes {
public:
    explicit SfntBytes(std::string_view data) : m_data(data) {}

    bool Holds(std::uint64_t offset, std::uint64_t length) const
    {
        return offset <= m_data.size() && length <= m_data.size() - offset;
    }
    std::optional<SfntBytes> Part(std::uint64_t offset, std::uint64_t length) const
    {
        if (!Holds(offset, length))
            return std::nullopt;
        return SfntBytes(m_data.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(length)));
    }
    std::uint16_t U16(std::uint64_t at) const { return static_cast<std::uint16_t>(Byte(at) << 8 | Byte(at + 1)); }
    std::uint32_t U32(std::uint64_t at) const { return std::uint32_t{U16(at)} << 16 | U16(at + 2); }

private:
    std::uint32_t Byte(std::uint64_t at) const { return static_cast<unsigned char>(m_data[static_cast<std::size_t>(at)]); }

    std::string_view m_data;
};

constexpr std::uint32_t SfntTag(const char (&name)[5])
{
    return std::uint32_t{static_cast<unsigned char>(name[0])} << 24 | std::uint32_t{static_cast<unsigned char>(name[1])} << 16 |
           std::uint32_t{static_cast<unsigned char>(name[2])} << 8 | std::uint32_t{static_cast<unsigned char>(name[3])};
}

// The table `tag` of a TrueType font (sfnt version 0x00010000 or 'true': no CFF outlines,
// no collection, as EUDC files never are either), read whole from where the first record
// of the table directory that names it says; nullopt when the file is no such font, has
// no such table, or the table does not lie inside the file or is longer than `limit`.
std::optional<std::string> ReadSfntTable(ReadableFile& file, std::uint32_t tag, std::uint64_t limit);
