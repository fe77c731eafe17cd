#include "platform/win32/CommandLine.h"

#include "platform/win32/AnsiCodePage.h"

CStringArray AnsiArguments(int count, wchar_t** arguments)
{
    CStringArray ansi;
    for (int i = 1; i < count; ++i)
        ansi.push_back(WideToAnsi(reinterpret_cast<const char16_t*>(arguments[i])));
    return ansi;
}
