#include "model/FontList.h"

#include <algorithm>

namespace {

// A family reported with several character sets is a candidate for any of them.
bool HasCharSet(const EnumeratedFont& font, const CharSets& charSets)
{
    const auto wanted = [&](unsigned charSet) { return std::ranges::find(charSets, charSet) != charSets.end(); };
    return wanted(font.charSet) || std::ranges::any_of(font.charSets, wanted);
}

bool IsAccepted(const EnumeratedFont& font, const CharSets& charSets)
{
    const bool trueTypeOnly = (font.fontType & 0xFFFF) == fonts::kTrueType;
    const bool vertical = !font.faceName.empty() && font.faceName.front() == '@';
    return HasCharSet(font, charSets) && trueTypeOnly && !vertical;
}

const char* NameOf(unsigned charSet)
{
    switch (charSet) {
    case fonts::kShiftJisCharSet: return "Shift-JIS";
    case fonts::kHangulCharSet: return "Hangul";
    case fonts::kJohabCharSet: return "Johab";
    case fonts::kGb2312CharSet: return "GB2312";
    case fonts::kBig5CharSet: return "Big5";
    }
    return "?";
}

}  // namespace

CharSets CharSetsOf(unsigned codePage)
{
    switch (codePage) {
    case 932: return {fonts::kShiftJisCharSet};
    case 936: return {fonts::kGb2312CharSet};
    case 949: return {fonts::kHangulCharSet};
    case 950: return kBig5CharSets;
    case 1361: return {fonts::kJohabCharSet};
    }
    return {};
}

std::string CharSetsText(const CharSets& charSets)
{
    std::string text;
    for (const unsigned charSet : charSets)
        text += (text.empty() ? "" : " or ") + std::string(NameOf(charSet));
    return text;
}

int CollectFontFamily(const EnumeratedFont& font, CStringArray& fontList, const CharSets& charSets)
{
    if (IsAccepted(font, charSets))
        fontList.push_back(font.faceName);
    return 1;
}

void BuildFontList(FontSource& fonts, CStringArray& fontList, const CharSets& charSets)
{
    fontList.assign(1, kSystemDefaultEUDCFont);
    fonts.EnumerateFamilies(
        [&](const EnumeratedFont& font) { return CollectFontFamily(font, fontList, charSets); });
}

CString FindListedFont(FontSource& fonts, const CString& name, const CodePageRules& rules, const CharSets& charSets)
{
    if (rules.IsSameName(name, kSystemDefaultEUDCFont))
        return kSystemDefaultEUDCFont;
    CStringArray family;
    fonts.EnumerateFamily(name,
                          [&](const EnumeratedFont& font) { return CollectFontFamily(font, family, charSets); });
    for (const CString& listed : family) {
        if (rules.IsSameName(listed, name))
            return listed;
    }
    return {};
}
