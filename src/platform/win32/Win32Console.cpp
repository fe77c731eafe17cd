#include "platform/win32/Win32Console.h"

#include <windows.h>

#include <string>

namespace {

void Write(DWORD which, std::string_view text)
{
    const HANDLE output = ::GetStdHandle(which);
    DWORD mode = 0;
    DWORD written = 0;
    if (::GetConsoleMode(output, &mode)) {
        const int size = static_cast<int>(text.size());
        std::wstring wide(::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0), L'\0');
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
        ::WriteConsoleW(output, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
        ::WriteFile(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
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
