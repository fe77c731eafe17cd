// The family name of any bytes: nothing is read outside them, and a name only of the
// length a face can have, without a NUL, from bytes that start as a TrueType font does.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "LinkDoubles.h"
#include "model/FontFaceName.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view font(reinterpret_cast<const char*>(data), size);
    FakeFiles::File file{std::string(font)};
    const auto name = ReadFontFamilyName(file);
    for (const auto& [offset, length] : file.reads)
        Check(offset <= size && length <= size - offset, "every part read lies inside the file");
    if (!name)
        return 0;
    Check(!name->empty() && name->size() <= kLongestFaceName, "a name a face can have");
    Check(name->find(u'\0') == std::u16string::npos, "no NUL in the name");
    const std::string_view version = font.substr(0, 4);
    Check(version == std::string_view("\0\1\0\0", 4) || version == "true", "a name only for a TrueType version");
    return 0;
}
