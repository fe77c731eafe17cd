#include "platform/win32/CommandLine.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>

#include "platform/win32/AnsiCodePage.h"

CStringArray CommandLineArguments()
{
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&::LocalFree)> arguments(
        ::CommandLineToArgvW(::GetCommandLineW(), &count), ::LocalFree);
    CStringArray ansi;
    for (int i = 1; arguments && i < count; ++i)
        ansi.push_back(WideToAnsi(reinterpret_cast<const char16_t*>(arguments.get()[i])));
    return ansi;
}
