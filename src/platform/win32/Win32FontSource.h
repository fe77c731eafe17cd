// The installed font families, from EnumFontFamiliesA on a memory context compatible with
// the screen: the screen's fonts, which need no window and no display.
#pragma once

#include "platform/FontSource.h"

class Win32FontSource : public FontSource {
public:
    void EnumerateFamilies(const FontVisitor& visit) override;
    void EnumerateFamily(const CString& faceName, const FontVisitor& visit) override;
};
