#include "platform/win32/AnsiCodePage.h"

#include <windows.h>

// wchar_t is UTF-16 on Windows, so the model's UTF-16 text is the W functions' own.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

namespace {

const wchar_t* Wide(std::u16string_view text)
{
    return reinterpret_cast<const wchar_t*>(text.data());
}

}  // namespace

bool IsAnsiLeadByte(unsigned char byte)
{
    return ::IsDBCSLeadByte(byte) != FALSE;
}

std::u16string AnsiToWide(std::string_view text)
{
    const int size = static_cast<int>(text.size());
    std::u16string wide(::MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0), u'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, reinterpret_cast<wchar_t*>(wide.data()),
                          static_cast<int>(wide.size()));
    return wide;
}

CString WideToAnsi(std::u16string_view text)
{
    const int size = static_cast<int>(text.size());
    CString ansi(::WideCharToMultiByte(CP_ACP, 0, Wide(text), size, nullptr, 0, nullptr, nullptr), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, Wide(text), size, ansi.data(), static_cast<int>(ansi.size()), nullptr,
                          nullptr);
    return ansi;
}

// Upper-casing maps one UTF-16 unit to one, so the key has the name's length.
std::u16string RegistryNameKey(std::u16string_view name)
{
    std::u16string key(name.size(), u'\0');
    if (!name.empty())
        ::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, Wide(name), static_cast<int>(name.size()),
                        reinterpret_cast<wchar_t*>(key.data()), static_cast<int>(key.size()), nullptr, nullptr, 0);
    return key;
}
