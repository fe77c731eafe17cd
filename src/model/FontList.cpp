#include "model/FontList.h"

CStringArray FontList;

namespace {

constexpr unsigned kShiftJisCharSet = 0x80;
constexpr unsigned kBig5CharSet = 0x88;
constexpr unsigned kTrueTypeFontType = 4;

bool IsAccepted(const EnumeratedFont& font)
{
    const bool eastAsian = font.charSet == kShiftJisCharSet || font.charSet == kBig5CharSet;
    const bool trueTypeOnly = (font.fontType & 0xFFFF) == kTrueTypeFontType;
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

CString FindListedFont(FontSource& fonts, const CString& name, SameNameTest isSameName)
{
    if (isSameName(name, kSystemDefaultEUDCFont))
        return kSystemDefaultEUDCFont;
    CStringArray family;
    fonts.EnumerateFamily(name, [&family](const EnumeratedFont& font) { return CollectFontFamily(font, family); });
    for (const CString& listed : family) {
        if (isSameName(listed, name))
            return listed;
    }
    return {};
}
