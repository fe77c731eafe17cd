#include "platform/win32/CommandLine.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::vector<std::u16string> WideArguments(int count, wchar_t** arguments)
{
    std::vector<std::u16string> wide;
    for (int i = 1; i < count; ++i)
        wide.emplace_back(reinterpret_cast<const char16_t*>(arguments[i]));
    return wide;
}
