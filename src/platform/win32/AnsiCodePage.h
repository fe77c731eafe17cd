// The rules of the ANSI code page the program runs under.
#pragma once

#include "platform/CodePage.h"

bool IsAnsiLeadByte(unsigned char byte);
std::u16string AnsiToWide(std::string_view text);
CString WideToAnsi(std::u16string_view text);
// Upper-cased as the registry compares value names: by the system's own casing table,
// which LCMapStringEx uses unless asked for a language's rules.
std::u16string RegistryNameKey(std::u16string_view name);

inline constexpr CodePageRules kAnsiCodePage{IsAnsiLeadByte, AnsiToWide, WideToAnsi, RegistryNameKey};
