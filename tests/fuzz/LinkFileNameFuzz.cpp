// The text a row shows for any path, under code page 950 and under a single-byte code
// page, against a plain statement of the rule: the path cut into characters, then
// everything after the last character that is a separator. And the file any path names:
// resolving is idempotent, and what it gives is a full path of plain names.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "LinkDoubles.h"
#include "model/EudcPath.h"

namespace {

std::vector<std::string> Characters(const std::string& path)
{
    std::vector<std::string> characters;
    for (std::size_t i = 0; i < path.size();) {
        const std::size_t length = IsBig5LeadByte(static_cast<unsigned char>(path[i])) ? 2 : 1;
        characters.push_back(path.substr(i, length));  // a lone lead byte at the end stays alone
        i += length;
    }
    return characters;
}

std::string AfterLastSeparator(const std::vector<std::string>& characters)
{
    std::string name;
    for (const std::string& character : characters) {
        if (character == "\\" || character == "/")
            name.clear();
        else
            name += character;
    }
    return name;
}

bool SingleByte(unsigned char)
{
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path(reinterpret_cast<const char*>(data), size);

    const std::string shown = LinkFileName(path, IsBig5LeadByte);
    Check(shown == AfterLastSeparator(Characters(path)), "the name after the last real separator");
    Check(path.ends_with(shown), "the name is the end of the path");

    const std::string bytewise = LinkFileName(path, SingleByte);
    Check(bytewise == path.substr(path.find_last_of("\\/") + 1), "byte by byte, after the last 0x5C or 0x2F");
    // Every real backslash is a 0x5C byte, so the cut under code page 950 is never later.
    Check(shown.size() >= bytewise.size(), "code page 950 never cuts after a single-byte cut");

    const ResolvedPath resolved = LinkedFile(path, "C:\\Windows\\Fonts", IsBig5LeadByte);
    if (resolved.place == PathPlace::Nowhere) {
        Check(resolved.path.empty(), "nowhere names no path");
        return 0;
    }
    Check(ResolveFullPath(resolved.path, IsBig5LeadByte) == resolved, "a resolved path resolves to itself");
    const std::vector<std::string> characters = Characters(resolved.path);
    Check(std::find(characters.begin(), characters.end(), "/") == characters.end(), "backslashes only");
    const std::size_t rootParts = resolved.place == PathPlace::Share ? 4 : 1;
    std::string part;
    std::size_t parts = 0;
    for (std::size_t i = 0; i <= characters.size(); ++i) {
        if (i < characters.size() && characters[i] != "\\") {
            part += characters[i];
            continue;
        }
        if (++parts > rootParts)
            Check(IsPlainName(part, IsBig5LeadByte), "every name below the root is a plain one");
        part.clear();
    }
    Check(parts > rootParts, "a file below the root");
    return 0;
}
