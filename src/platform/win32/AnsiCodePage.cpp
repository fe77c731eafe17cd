#include "platform/win32/AnsiCodePage.h"

#include <windows.h>

// wchar_t is UTF-16 on Windows, so the model's UTF-16 text is the W functions' own.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

namespace {

const wchar_t* Wide(std::u16string_view text)
{
    return reinterpret_cast<const wchar_t*>(text.data());
}

// The rules as plain functions of one code page each, since the model keeps function
// pointers: CP_ACP is the system's own.
template <unsigned kCodePage>
bool IsLeadByteIn(unsigned char byte)
{
    return ::IsDBCSLeadByteEx(kCodePage, byte) != FALSE;
}

template <unsigned kCodePage>
std::u16string ToWideFrom(std::string_view text)
{
    return ToWide(kCodePage, text);
}

template <unsigned kCodePage>
CString ToNarrowIn(std::u16string_view text)
{
    return ToCodePage(kCodePage, text);
}

template <unsigned kCodePage>
constexpr CodePageRules kRules{IsLeadByteIn<kCodePage>, ToWideFrom<kCodePage>, ToNarrowIn<kCodePage>,
                               RegistryNameKey};

}  // namespace

std::u16string ToWide(unsigned codePage, std::string_view text)
{
    const int size = static_cast<int>(text.size());
    std::u16string wide(::MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0), u'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), size, reinterpret_cast<wchar_t*>(wide.data()),
                          static_cast<int>(wide.size()));
    return wide;
}

// Without WC_NO_BEST_FIT_CHARS, "é" would become "e": a path or name converted to another
// one. Code pages that take no flags (UTF-8) hold every character anyway.
CString ToCodePage(unsigned codePage, std::u16string_view text)
{
    const int size = static_cast<int>(text.size());
    DWORD flags = WC_NO_BEST_FIT_CHARS;
    int length = ::WideCharToMultiByte(codePage, flags, Wide(text), size, nullptr, 0, nullptr, nullptr);
    if (length == 0 && ::GetLastError() == ERROR_INVALID_FLAGS) {
        flags = 0;
        length = ::WideCharToMultiByte(codePage, flags, Wide(text), size, nullptr, 0, nullptr, nullptr);
    }
    CString narrow(length, '\0');
    ::WideCharToMultiByte(codePage, flags, Wide(text), size, narrow.data(), length, nullptr, nullptr);
    return narrow;
}

bool IsAnsiLeadByte(unsigned char byte)
{
    return IsLeadByteIn<CP_ACP>(byte);
}

std::u16string AnsiToWide(std::string_view text)
{
    return ToWide(CP_ACP, text);
}

CString WideToAnsi(std::u16string_view text)
{
    return ToCodePage(CP_ACP, text);
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

std::optional<CodePageRules> RulesOfCodePage(unsigned codePage)
{
    if (!::IsValidCodePage(codePage))
        return std::nullopt;
    switch (codePage) {
    case 932: return kRules<932>;
    case 936: return kRules<936>;
    case 949: return kRules<949>;
    case 950: return kRules<950>;
    case 1361: return kRules<1361>;
    default: return std::nullopt;
    }
}
