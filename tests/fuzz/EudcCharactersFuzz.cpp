// Counting and listing the EUDC characters of any bytes, read in parts as a linked file is
// checked: nothing is asked for outside the bytes, never more than the area holds, a
// count only for bytes that start as a TrueType font does, and a listing of exactly what
// was counted, ascending, inside the area.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "LinkDoubles.h"
#include "model/EudcCharacters.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view font(reinterpret_cast<const char*>(data), size);
    FakeFiles::File file{std::string(font)};
    const auto count = CountEudcCharacters(file);
    for (const auto& [offset, length] : file.reads)
        Check(offset <= size && length <= size - offset, "every part read lies inside the file");
    FakeFiles::File again{std::string(font)};
    const auto listed = ListEudcCharacters(again);
    Check(listed.has_value() == count.has_value(), "a listing exactly when there is a count");
    if (!count)
        return 0;
    Check(*count <= kLastEudcCharacter - kFirstEudcCharacter + 1, "at most the 6,400 code points of the area");
    Check(listed->size() == *count, "the listing holds what was counted");
    Check(std::adjacent_find(listed->begin(), listed->end(), std::greater_equal<>()) == listed->end(),
          "the listing ascends, each code point once");
    Check(listed->empty() || (listed->front() >= kFirstEudcCharacter && listed->back() <= kLastEudcCharacter),
          "the listing lies inside the area");
    const std::string_view version = font.substr(0, 4);
    Check(version == std::string_view("\0\1\0\0", 4) || version == "true", "a count only for a TrueType version");
    return 0;
}
