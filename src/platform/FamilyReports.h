// Wine reports a font family once for every character set it supports, where Windows
// reports it once; the font list relies on the latter.
#pragma once

#include <vector>

#include "platform/FontSource.h"

// Keeps one report per family: each run of consecutive reports with the same face name
// and font type becomes the first of them with a double-byte (CJK) character set, or the
// run's first report when the family has none. Wine puts the system's own character set
// first (Big5 under code page 950), so a Big5 family stays Big5; a family that has no
// Big5 but has Shift-JIS stays Shift-JIS. Each kept report lists the character sets of its
// whole run, so that another code page's fonts are found too.
std::vector<EnumeratedFont> OneReportPerFamily(const std::vector<EnumeratedFont>& reports);
