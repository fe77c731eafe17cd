// The family name by which a loaded font file is asked for, from naming tables built here.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "LinkDoubles.h"
#include "model/FontFaceName.h"

namespace {

std::string Be(std::uint32_t value, int bytes)
{
    std::string be;
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
        be += static_cast<char>(value >> shift & 0xFF);
    return be;
}

struct Name {
    std::uint16_t platform, encoding, language, id;
    std::u16string text;
    std::uint16_t length = 0xFFFF;  // the text's own unless given
};

// A font of one table, 'name', each record's string after the one before.
std::string FontNamed(const std::vector<Name>& names)
{
    std::string records, strings;
    for (const Name& name : names) {
        const std::uint16_t length = name.length != 0xFFFF ? name.length : static_cast<std::uint16_t>(2 * name.text.size());
        records += Be(name.platform, 2) + Be(name.encoding, 2) + Be(name.language, 2) + Be(name.id, 2) +
                   Be(length, 2) + Be(static_cast<std::uint32_t>(strings.size()), 2);
        for (char16_t c : name.text)
            strings += Be(c, 2);
    }
    const std::string table =
        Be(0, 2) + Be(static_cast<std::uint32_t>(names.size()), 2) + Be(static_cast<std::uint32_t>(6 + records.size()), 2) +
        records + strings;
    return Be(0x00010000, 4) + Be(1, 2) + Be(16, 2) + Be(0, 4) + "name" + Be(0, 4) + Be(28, 4) +
           Be(static_cast<std::uint32_t>(table.size()), 4) + table;
}

std::optional<std::u16string> FamilyOf(const std::string& font)
{
    FakeFiles::File file(font);
    return ReadFontFamilyName(file);
}

}  // namespace

TEST(ReadFontFamilyName, TakesTheWindowsUnicodeFamilyInUsEnglishFirst)
{
    EXPECT_EQ(FamilyOf(FontNamed({{1, 0, 0, 1, u"Mac"},
                                  {3, 1, 0x0404, 4, u"Full"},
                                  {3, 1, 0x0404, 1, u"\u5916\u5B57"},
                                  {3, 1, 0x0409, 1, u"EUDC"}})),
              u"EUDC");
    EXPECT_EQ(FamilyOf(FontNamed({{1, 0, 0, 1, u"Mac"}, {3, 10, 0x0404, 1, u"\u5916\u5B57"}, {3, 1, 0x0804, 1, u"B"}})),
              u"\u5916\u5B57");
    EXPECT_EQ(FamilyOf(FontNamed({{1, 0, 0, 1, u"Mac"}, {3, 0, 0x0409, 1, u"Symbol"}})), std::nullopt);
}

TEST(ReadFontFamilyName, RefusesNamesThatCannotBeAFaceOrLieOutside)
{
    const std::u16string longest(kLongestFaceName, u'x');
    EXPECT_EQ(FamilyOf(FontNamed({{3, 1, 0x0409, 1, longest}})), longest);
    EXPECT_EQ(FamilyOf(FontNamed({{3, 1, 0x0409, 1, longest + u'x'}})), std::nullopt);
    EXPECT_EQ(FamilyOf(FontNamed({{3, 1, 0x0409, 1, std::u16string(u"A\0B", 3)}})), std::nullopt);
    EXPECT_EQ(FamilyOf(FontNamed({{3, 1, 0x0409, 1, u""}})), std::nullopt);
    EXPECT_EQ(FamilyOf(FontNamed({{3, 1, 0x0409, 1, u"EUDC", 7}})), std::nullopt) << "an odd length";
    EXPECT_EQ(FamilyOf(FontNamed({{3, 1, 0x0409, 1, u"EUDC", 10}})), std::nullopt) << "past the table";
    // A broken record gives way to a sound one.
    EXPECT_EQ(FamilyOf(FontNamed({{3, 1, 0x0409, 1, u"EUDC", 7}, {3, 1, 0x0404, 1, u"B"}})), u"B");

    const std::string font = FontNamed({{3, 1, 0x0409, 1, u"EUDC"}});
    for (std::size_t size = 0; size < font.size(); ++size)
        EXPECT_EQ(FamilyOf(std::string(font, 0, size)), std::nullopt) << size << " bytes";
}
