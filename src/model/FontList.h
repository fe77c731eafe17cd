// The fonts to which an EUDC file can be linked: the system-wide default first, then the
// installed families that can have a link, in the order the system reports them.
#pragma once

#include "platform/CodePage.h"
#include "platform/FontSource.h"
#include "platform/Strings.h"

// The registry value name of the system-wide default link, and entry 0 of every list.
inline constexpr char kSystemDefaultEUDCFont[] = "SystemDefaultEUDCFont";

// Appends the family to fontList when it is a TrueType font (type exactly 4) with the
// Big5 or Shift-JIS character set and is not a vertical variant (leading "@").
// Returns 1 so that the enumeration always runs to its end.
int CollectFontFamily(const EnumeratedFont& font, CStringArray& fontList);

// The name under which the list holds that font, found as the registry finds names; empty
// when the list has no such font. Only the family named is enumerated.
CString FindListedFont(FontSource& fonts, const CString& name, const CodePageRules& rules);

// Replaces fontList with the reserved entry followed by every accepted family, in the
// order the source reports them, duplicates included.
void BuildFontList(FontSource& fonts, CStringArray& fontList);
