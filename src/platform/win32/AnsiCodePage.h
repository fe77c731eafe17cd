// The rules of the ANSI code page the program runs under.
#pragma once

#include "platform/CodePage.h"

bool IsAnsiLeadByte(unsigned char byte);
std::u16string AnsiToWide(std::string_view text);
CString WideToAnsi(std::u16string_view text);
// As the registry compares value names: ordinally, without regard to case.
bool IsSameWideValueName(std::u16string_view a, std::u16string_view b);
// Both names converted from the ANSI code page, then compared as above.
bool IsSameValueName(const CString& a, const CString& b);

inline constexpr CodePageRules kAnsiCodePage{IsAnsiLeadByte, IsSameValueName, AnsiToWide, IsSameWideValueName};
