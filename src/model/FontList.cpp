#include "model/FontList.h"

namespace {

bool IsAccepted(const EnumeratedFont& font)
{
    const bool eastAsian = font.charSet == fonts::kShiftJisCharSet || font.charSet == fonts::kBig5CharSet;
    const bool trueTypeOnly = (font.fontType & 0xFFFF) == fonts::kTrueType;
    const bool vertical = !font.faceName.empty() && font.faceName.front() == '@';
    return eastAsian && trueTypeOnly && !vertical;
}

}  // namespace

int CollectFontFamily(const EnumeratedFont& font, CStringArray& fontList)
{
    if (IsAccepted(font))
        fontList.push_back(font.faceName);
    return 1;
}

void BuildFontList(FontSource& fonts, CStringArray& fontList)
{
    fontList.assign(1, kSystemDefaultEUDCFont);
    fonts.EnumerateFamilies(
        [&fontList](const EnumeratedFont& font) { return CollectFontFamily(font, fontList); });
}

CString FindListedFont(FontSource& fonts, const CString& name, const CodePageRules& rules)
{
    if (rules.IsSameName(name, kSystemDefaultEUDCFont))
        return kSystemDefaultEUDCFont;
    CStringArray family;
    fonts.EnumerateFamily(name, [&family](const EnumeratedFont& font) { return CollectFontFamily(font, family); });
    for (const CString& listed : family) {
        if (rules.IsSameName(listed, name))
            return listed;
    }
    return {};
}
