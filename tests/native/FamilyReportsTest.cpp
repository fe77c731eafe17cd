// One report per font family, however many character sets Wine reports it with.
#include <gtest/gtest.h>

#include "platform/FamilyReports.h"

namespace {

constexpr unsigned kTrueType = 4;

std::vector<EnumeratedFont> ReportedWith(const CString& face, std::vector<unsigned> charSets,
                                         unsigned fontType = kTrueType)
{
    std::vector<EnumeratedFont> reports;
    for (unsigned charSet : charSets)
        reports.push_back({face, charSet, fontType});
    return reports;
}

std::vector<EnumeratedFont> Concat(std::initializer_list<std::vector<EnumeratedFont>> parts)
{
    std::vector<EnumeratedFont> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

std::vector<std::pair<CString, unsigned>> Families(const std::vector<EnumeratedFont>& fonts)
{
    std::vector<std::pair<CString, unsigned>> families;
    for (const EnumeratedFont& font : fonts)
        families.emplace_back(font.faceName, font.charSet);
    return families;
}

}  // namespace

TEST(OneReportPerFamily, CollapsesWinesReportsKeepingTheFamilysOwnCharacterSet)
{
    // As Wine 8 reports them under code page 950.
    const auto reports = Concat({
        ReportedWith("AR PL UMing TW", {136, 0, 238, 204, 162, 186, 128, 134}),
        ReportedWith("DejaVu Sans", {0, 238, 204, 161, 162}),
        ReportedWith("Kochi Mincho", {0, 128}),
        ReportedWith("@AR PL UMing TW", {136, 0, 128}),
        ReportedWith("WenQuanYi", {0, 134}),
    });
    const std::vector<std::pair<CString, unsigned>> expected{
        {"AR PL UMing TW", 136}, {"DejaVu Sans", 0}, {"Kochi Mincho", 128},
        {"@AR PL UMing TW", 136}, {"WenQuanYi", 134}};
    EXPECT_EQ(Families(OneReportPerFamily(reports)), expected);
}

TEST(OneReportPerFamily, LeavesOneReportPerFamilyAsWindowsGivesIt)
{
    const auto reports = Concat({
        ReportedWith("Zhong", {136}),
        ReportedWith("Arial", {0}),
        ReportedWith("Zhong", {136}),  // reported again later: a duplicate stays
    });
    EXPECT_EQ(Families(OneReportPerFamily(reports)),
              (std::vector<std::pair<CString, unsigned>>{{"Zhong", 136}, {"Arial", 0}, {"Zhong", 136}}));
}

TEST(OneReportPerFamily, KeepsFamiliesOfOneNameButAnotherTypeApart)
{
    const auto reports = Concat({ReportedWith("System", {0}, 1), ReportedWith("System", {136}, 4)});
    EXPECT_EQ(OneReportPerFamily(reports).size(), 2u);
    EXPECT_TRUE(OneReportPerFamily({}).empty());
}
