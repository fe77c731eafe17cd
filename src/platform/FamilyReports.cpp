#include "platform/FamilyReports.h"

#include <algorithm>

namespace {

bool HasDoubleByteCharSet(const EnumeratedFont& font)
{
    switch (font.charSet) {
    case 128:  // SHIFTJIS_CHARSET
    case 129:  // HANGUL_CHARSET
    case 130:  // JOHAB_CHARSET
    case 134:  // GB2312_CHARSET
    case 136:  // CHINESEBIG5_CHARSET
        return true;
    default:
        return false;
    }
}

}  // namespace

std::vector<EnumeratedFont> OneReportPerFamily(const std::vector<EnumeratedFont>& reports)
{
    std::vector<EnumeratedFont> families;
    auto runStart = reports.begin();
    while (runStart != reports.end()) {
        const auto sameFamily = [&](const EnumeratedFont& font) {
            return font.faceName == runStart->faceName && font.fontType == runStart->fontType;
        };
        const auto runEnd = std::find_if_not(runStart, reports.end(), sameFamily);
        const auto chosen = std::find_if(runStart, runEnd, HasDoubleByteCharSet);
        families.push_back(chosen != runEnd ? *chosen : *runStart);
        runStart = runEnd;
    }
    return families;
}
