// The fonts to which an EUDC file can be linked: the system-wide default first, then the
// installed families that can have a link, in the order the system reports them.
#pragma once

#include <vector>

#include "platform/CodePage.h"
#include "platform/FontSource.h"
#include "platform/Strings.h"

// The registry value name of the system-wide default link, and entry 0 of every list.
inline constexpr char kSystemDefaultEUDCFont[] = "SystemDefaultEUDCFont";

// The character sets whose fonts can have a link under a code page's key.
using CharSets = std::vector<unsigned>;
// Big5 and Shift-JIS: the window's, and code page 950's.
inline const CharSets kBig5CharSets{fonts::kBig5CharSet, fonts::kShiftJisCharSet};
// 932 Shift-JIS, 936 GB2312, 949 Hangul, 950 Big5 and Shift-JIS, 1361 Johab; none for
// another code page.
CharSets CharSetsOf(unsigned codePage);
// "Big5 or Shift-JIS", for a message.
std::string CharSetsText(const CharSets& charSets);

// Appends the family to fontList when it is a TrueType font (type exactly 4) with one of
// the character sets and is not a vertical variant (leading "@").
// Returns 1 so that the enumeration always runs to its end.
int CollectFontFamily(const EnumeratedFont& font, CStringArray& fontList, const CharSets& charSets = kBig5CharSets);

// The name under which the list holds that font, found as the registry finds names; empty
// when the list has no such font. Only the family named is enumerated.
CString FindListedFont(FontSource& fonts, const CString& name, const CodePageRules& rules,
                       const CharSets& charSets = kBig5CharSets);

// Replaces fontList with the reserved entry followed by every accepted family, in the
// order the source reports them, duplicates included.
void BuildFontList(FontSource& fonts, CStringArray& fontList, const CharSets& charSets = kBig5CharSets);
