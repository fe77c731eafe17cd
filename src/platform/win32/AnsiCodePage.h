// The rules of the ANSI code page the program runs under.
#pragma once

#include "platform/CodePage.h"

bool IsAnsiLeadByte(unsigned char byte);
// As the registry compares value names: both converted from the ANSI code page, then
// compared ordinally without regard to case.
bool IsSameValueName(const CString& a, const CString& b);

inline constexpr CodePageRules kAnsiCodePage{IsAnsiLeadByte, IsSameValueName};
