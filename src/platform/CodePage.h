// The rules of the ANSI code page that the model needs and cannot know by itself.
#pragma once

#include "platform/Strings.h"

// The lead-byte rule, by which a path is walked character by character: a lead byte and
// the byte after it are one character.
using LeadByteTest = bool (*)(unsigned char byte);

// Whether the registry takes two value names for one: it compares them as Unicode,
// letters of either case alike (full-width ones too), so the second byte of a
// double-byte character never folds as if it were an ASCII letter.
using SameNameTest = bool (*)(const CString& a, const CString& b);

struct CodePageRules {
    LeadByteTest isLeadByte;
    SameNameTest isSameName;
};
