// The rules of the ANSI code page that the model needs and cannot know by itself.
#pragma once

#include <string>
#include <string_view>

#include "platform/Strings.h"

// The lead-byte rule, by which a path is walked character by character: a lead byte and
// the byte after it are one character.
using LeadByteTest = bool (*)(unsigned char byte);

// Text of the code page as UTF-16, the form in which the registry keeps names and strings
// and a console shows them. A byte that is no character becomes U+FFFD or '?'.
using WideningRule = std::u16string (*)(std::string_view text);

// UTF-16 as text of the code page, as the registry's A functions give it: a character the
// code page lacks becomes '?'.
using NarrowingRule = CString (*)(std::u16string_view text);

// The registry's rule for value names: two names are one value's when their keys are
// equal. The key is the name upper-cased as the registry compares names (letters of either
// case alike, full-width ones too; nothing else folds), so it also sorts names for lookups.
using NameKeyRule = std::u16string (*)(std::u16string_view name);

struct CodePageRules {
    LeadByteTest isLeadByte;
    WideningRule toWide;
    NarrowingRule toAnsi;
    NameKeyRule nameKey;

    // The key of a name of the code page.
    std::u16string KeyOf(std::string_view name) const { return nameKey(toWide(name)); }
    // Whether the registry takes the two names for one: the second byte of a double-byte
    // character never folds as if it were an ASCII letter.
    bool IsSameName(std::string_view a, std::string_view b) const { return KeyOf(a) == KeyOf(b); }
};

// The code pages a command may work in: the system's own, or another that has EUDC
// characters, whose rules the ports then follow for names and paths.
class CodePages {
public:
    virtual ~CodePages() = default;
    // The ANSI code page: the key that the system reads is the one of this number.
    virtual unsigned SystemCodePage() = 0;
    // Makes the ports read and give names and paths in that code page, and gives its
    // rules; false, nothing changed, when the system cannot convert with it.
    virtual bool Use(unsigned codePage, CodePageRules& rules) = 0;
};
