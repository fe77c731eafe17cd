// Reading any bytes as a .reg file, and writing back what a reading gives: a file is read
// exactly or refused, and what is written reads back to the same values in the same order.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "LinkDoubles.h"
#include "model/RegFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const RegFileReading reading = ReadRegFile(bytes, kLinkKeyPath, Big5ToWide);
    if (!reading.ok) {
        Check(reading.entries.empty(), "a refused file gives no entries");
        Check(!reading.error.empty(), "a refusal says why");
        return 0;
    }
    Check(reading.error.empty() && reading.errorLine == 0, "a reading file has no problem");

    // Deletions have no value to write; the rest are written in order, duplicates kept.
    std::vector<StoredValue> values;
    for (const RegFileEntry& entry : reading.entries) {
        if (!entry.deleted)
            values.push_back(entry.value);
    }
    const std::string written = WriteRegFile(kLinkKeyPath, values);
    const RegFileReading again = ReadRegFile(written, kLinkKeyPath, Big5ToWide);
    Check(again.ok, "what the writer writes can be read");
    Check(again.entries.size() == values.size(), "every written value is read back");
    for (std::size_t i = 0; i < values.size(); ++i)
        Check(!again.entries[i].deleted && again.entries[i].value == values[i], "values read back exactly");
    return 0;
}
