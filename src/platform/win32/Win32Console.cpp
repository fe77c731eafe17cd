#include "platform/win32/Win32Console.h"

#include <windows.h>

#include <string>

#include "platform/win32/AnsiCodePage.h"

namespace {

// The code page a reader of our pipe or file decodes with: PowerShell and cmd take the
// console's output code page. A process started without a console (as Wine starts one
// outside a terminal) has none; the system's ANSI code page is then what programs take
// text to be in, and on the systems this is for it is the same 950.
UINT PipeCodePage()
{
    const UINT console = ::GetConsoleOutputCP();
    return console != 0 ? console : ::GetACP();
}

void Write(DWORD which, std::string_view text)
{
    if (text.empty())
        return;
    const HANDLE output = ::GetStdHandle(which);
    const std::u16string wide = ToWide(CP_UTF8, text);
    DWORD mode = 0;
    DWORD written = 0;
    if (::GetConsoleMode(output, &mode)) {
        ::WriteConsoleW(output, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
        // A character the code page lacks becomes '?', never a look-alike.
        const CString bytes = ToCodePage(PipeCodePage(), wide);
        ::WriteFile(output, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
}

}  // namespace

void Win32Console::Out(std::string_view text)
{
    Write(STD_OUTPUT_HANDLE, text);
}

void Win32Console::Err(std::string_view text)
{
    Write(STD_ERROR_HANDLE, text);
}
