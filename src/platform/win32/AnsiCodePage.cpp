#include "platform/win32/AnsiCodePage.h"

#include <windows.h>

#include <string>

namespace {

std::wstring Widened(const CString& text)
{
    const int size = static_cast<int>(text.size());
    std::wstring wide(::MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

}  // namespace

bool IsAnsiLeadByte(unsigned char byte)
{
    return ::IsDBCSLeadByte(byte) != FALSE;
}

bool IsSameValueName(const CString& a, const CString& b)
{
    const std::wstring wideA = Widened(a);
    const std::wstring wideB = Widened(b);
    return ::CompareStringOrdinal(wideA.data(), static_cast<int>(wideA.size()), wideB.data(),
                                  static_cast<int>(wideB.size()), TRUE) == CSTR_EQUAL;
}
