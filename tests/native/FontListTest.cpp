// Which families the font list takes, and in what order.
#include <gtest/gtest.h>

#include "LinkDoubles.h"
#include "model/FontList.h"

namespace {

constexpr unsigned kTrueType = 4;

CStringArray Build(std::vector<EnumeratedFont> families)
{
    FakeFontSource fonts(std::move(families));
    CStringArray list{"left over from before"};
    BuildFontList(fonts, list);
    return list;
}

}  // namespace

TEST(CollectFontFamily, AcceptsOnlyBig5AndShiftJis)
{
    for (unsigned charSet = 0; charSet <= 255; ++charSet) {
        CStringArray list;
        EXPECT_EQ(CollectFontFamily({"Face", charSet, kTrueType}, list), 1);
        const bool accepted = charSet == 0x80 || charSet == 0x88;
        EXPECT_EQ(list.size(), accepted ? 1u : 0u) << "character set " << charSet;
    }
}

TEST(CollectFontFamily, AcceptsOnlyFontTypeExactlyTrueType)
{
    const struct {
        unsigned fontType;
        bool accepted;
    } cases[] = {
        {1, false},        // raster
        {2, false},        // device
        {4, true},         // TrueType
        {6, false},        // TrueType and device
        {5, false},        // TrueType and raster
        {0x10004, true},   // only the low 16 bits count
        {0x10006, false},
    };
    for (const auto& c : cases) {
        CStringArray list;
        EXPECT_EQ(CollectFontFamily({"Face", 0x88, c.fontType}, list), 1);
        EXPECT_EQ(list.size(), c.accepted ? 1u : 0u) << "font type " << c.fontType;
    }
}

TEST(CollectFontFamily, RefusesVerticalVariantsOnly)
{
    CStringArray list;
    CollectFontFamily({"@MingLiU", 0x88, kTrueType}, list);
    CollectFontFamily({"@", 0x88, kTrueType}, list);
    CollectFontFamily({"Ming@Liu", 0x88, kTrueType}, list);
    CollectFontFamily({"", 0x88, kTrueType}, list);
    EXPECT_EQ(list, (CStringArray{"Ming@Liu", ""}));
}

TEST(BuildFontList, StartsWithTheSystemDefaultWhateverIsInstalled)
{
    EXPECT_EQ(Build({}), CStringArray{"SystemDefaultEUDCFont"});
    EXPECT_EQ(Build({{"Arial", 0, kTrueType}, {"@PMingLiU", 0x88, kTrueType}}),
              CStringArray{"SystemDefaultEUDCFont"});
}

TEST(BuildFontList, KeepsTheEnumerationOrderAndDuplicates)
{
    const CStringArray list = Build({
        {"Zhong", 0x88, kTrueType},
        {"Arial", 0, kTrueType},
        {"Alpha", 0x80, kTrueType},
        {"Zhong", 0x88, kTrueType},
        {"GB Song", 0x86, kTrueType},
        {"Mincho", 0x80, 6},
        {"\xB7\x73\xB2\xD3\xA9\xFA\xC5\xE9", 0x88, kTrueType},  // 新細明體, Big5 bytes
    });
    EXPECT_EQ(list, (CStringArray{"SystemDefaultEUDCFont", "Zhong", "Alpha", "Zhong",
                                  "\xB7\x73\xB2\xD3\xA9\xFA\xC5\xE9"}));
}

TEST(BuildFontList, RunsTheEnumerationToItsEnd)
{
    FakeFontSource fonts({{"A", 0, 1}, {"B", 0x88, kTrueType}, {"C", 0, 2}});
    CStringArray list;
    BuildFontList(fonts, list);
    EXPECT_EQ(fonts.reported, 3);
}
