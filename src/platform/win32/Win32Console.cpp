#include "platform/win32/Win32Console.h"

#include <windows.h>

#include <string>

namespace {

std::wstring FromUtf8(std::string_view text)
{
    const int size = static_cast<int>(text.size());
    std::wstring wide(::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

// The code page a reader of our pipe or file decodes with: PowerShell and cmd take the
// console's output code page. A process started without a console (as Wine starts one
// outside a terminal) has none; the system's ANSI code page is then what programs take
// text to be in, and on the systems this is for it is the same 950.
UINT PipeCodePage()
{
    const UINT console = ::GetConsoleOutputCP();
    return console != 0 ? console : ::GetACP();
}

// A character the code page lacks becomes '?', never a look-alike ("ß" as "s") that would
// name another font or file. UTF-8, GB18030 and a few others take no such flags, and hold
// every character anyway.
std::string InCodePage(const std::wstring& wide, UINT codePage)
{
    const int size = static_cast<int>(wide.size());
    DWORD flags = WC_NO_BEST_FIT_CHARS;
    const char* missing = "?";
    int length = ::WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, missing, nullptr);
    if (length == 0) {
        flags = 0;
        missing = nullptr;
        length = ::WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, missing, nullptr);
    }
    std::string narrow(length, '\0');
    ::WideCharToMultiByte(codePage, flags, wide.data(), size, narrow.data(), length, missing, nullptr);
    return narrow;
}

void Write(DWORD which, std::string_view text)
{
    if (text.empty())
        return;
    const HANDLE output = ::GetStdHandle(which);
    const std::wstring wide = FromUtf8(text);
    DWORD mode = 0;
    DWORD written = 0;
    if (::GetConsoleMode(output, &mode)) {
        ::WriteConsoleW(output, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
        const std::string bytes = InCodePage(wide, PipeCodePage());
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
