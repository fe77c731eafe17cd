// The rules of the ANSI code page that the model needs and cannot know by itself.
#pragma once

#include <string>
#include <string_view>

#include "platform/Strings.h"

// The lead-byte rule, by which a path is walked character by character: a lead byte and
// the byte after it are one character.
using LeadByteTest = bool (*)(unsigned char byte);

// Whether the registry takes two value names for one: it compares them as Unicode,
// letters of either case alike (full-width ones too), so the second byte of a
// double-byte character never folds as if it were an ASCII letter.
using SameNameTest = bool (*)(const CString& a, const CString& b);

// Text of the code page as UTF-16, the form in which the registry keeps names and strings
// and a console shows them. A byte that is no character becomes U+FFFD or '?'.
using WideningRule = std::u16string (*)(std::string_view text);

// Whether the registry takes two UTF-16 value names for one (the same rule as above).
using SameWideNameTest = bool (*)(std::u16string_view a, std::u16string_view b);

struct CodePageRules {
    LeadByteTest isLeadByte;
    SameNameTest isSameName;
    WideningRule toWide;
    SameWideNameTest isSameWideName;
};
