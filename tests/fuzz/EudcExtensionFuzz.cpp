// The extension test for any path, against the rule said another way: the last four
// bytes equal ".ttf" or ".tte" when letter case is ignored in the "C" locale, where only
// A to Z and a to z have another case.
#include <strings.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "model/EudcPath.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path(reinterpret_cast<const char*>(data), size);
    bool expected = false;
    if (path.size() >= 4) {
        const std::string last4 = path.substr(path.size() - 4);
        // A NUL among the four bytes ends the comparison at a byte that differs.
        expected = ::strncasecmp(last4.c_str(), ".ttf", 4) == 0 || ::strncasecmp(last4.c_str(), ".tte", 4) == 0;
    }
    Check(HasEudcExtension(path) == expected, "accepted exactly when it ends in .ttf or .tte, any letter case");
    return 0;
}
