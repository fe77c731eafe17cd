// The rules of the ANSI code page the program runs under, and of the other code pages
// that have EUDC characters.
#pragma once

#include <optional>

#include "platform/CodePage.h"

bool IsAnsiLeadByte(unsigned char byte);
std::u16string AnsiToWide(std::string_view text);
CString WideToAnsi(std::u16string_view text);
// Upper-cased as the registry compares value names: by the system's own casing table,
// which LCMapStringEx uses unless asked for a language's rules.
std::u16string RegistryNameKey(std::u16string_view name);

inline constexpr CodePageRules kAnsiCodePage{IsAnsiLeadByte, AnsiToWide, WideToAnsi, RegistryNameKey};

// Text of a code page (CP_ACP: the system's) as UTF-16, and back.
std::u16string ToWide(unsigned codePage, std::string_view text);
CString ToCodePage(unsigned codePage, std::u16string_view text);

// The rules of 932, 936, 949, 950 or 1361; none for another code page, or one the system
// cannot convert.
std::optional<CodePageRules> RulesOfCodePage(unsigned codePage);
