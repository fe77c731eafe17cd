#include "platform/FamilyReports.h"

#include <algorithm>

namespace {

bool HasDoubleByteCharSet(const EnumeratedFont& font)
{
    switch (font.charSet) {
    case fonts::kShiftJisCharSet:
    case fonts::kHangulCharSet:
    case fonts::kJohabCharSet:
    case fonts::kGb2312CharSet:
    case fonts::kBig5CharSet:
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
        for (auto report = runStart; report != runEnd; ++report)
            families.back().charSets.push_back(report->charSet);
        runStart = runEnd;
    }
    return families;
}
