// The rows as read from the registry: which value each font's row shows, and how.
#include "LinkModelTest.h"
#include "model/EudcPath.h"

using Strings = std::vector<std::string>;

TEST_F(LinkModelTest, MissingKeyIsCreatedAndNoRowHasALink)
{
    registry.keyExists = false;
    links.LoadLinks();

    EXPECT_EQ(events, (Events{"open read", "create all", "close"}));
    EXPECT_EQ(registry.createdClass, "REG_SZ");
    ASSERT_EQ(links.Rows().size(), 3u);
    for (std::size_t row = 0; row < 3; ++row)
        EXPECT_FALSE(Row(row).hasLink) << row;
}

TEST_F(LinkModelTest, KeyThatCannotBeOpenedOrCreatedKeepsTheLinksLastRead)
{
    registry.Add("Xyz", std::string("C:\\OLD.TTE\0", 11));
    links.LoadLinks();
    registry.values.clear();
    registry.keyExists = false;
    registry.canCreate = false;
    events.clear();

    links.LoadLinks();

    EXPECT_EQ(events, (Events{"open read", "create all", "message Access Registry Database failed!"}));
    EXPECT_EQ(LinkOf(1), "C:\\OLD.TTE");
}

// Other programs write what they like: every value is a link, shown as its text up to its
// first NUL; those no font has follow the fonts' rows in the key's order. The text "no
// assigned" is a link like any other, not the want of one.
TEST_F(LinkModelTest, ValuesOfAnyShapeAreLinksShownAsText)
{
    const std::string full256(256, 'F');
    registry.Add("Binary", "\x01\x02zz", registry::kBinary);
    registry.Add("Xyz", std::string("D:\\FONTS\\A.TTE\0", 15));
    registry.Add("Number", std::string("A\0\0\0", 4), registry::kDword);
    registry.Add("NoNul", "C:\\NONUL.TTE");
    registry.Add("Full", full256);
    registry.Add("Empty", "");
    registry.Add("TwoPaths", std::string("C:\\A.TTE\0C:\\B.TTE\0", 18), registry::kMultiString);
    registry.Add("AR PL UMing TW", "no assigned");

    links.LoadLinks();
    links.LoadLinks();  // a reload replaces, never appends

    ASSERT_EQ(links.Rows().size(), 3u);
    EXPECT_EQ(LinkOf(1), "D:\\FONTS\\A.TTE");
    EXPECT_EQ(LinkOf(2), "no assigned");
    EXPECT_TRUE(Row(2).hasLink);
    EXPECT_EQ(Row(2).state, LinkState::Unchecked);  // "no assigned" names a file in the font folder

    const std::vector<LinkRow> all = MakeRows({"SystemDefaultEUDCFont"}, registry.values, "C:\\F", kBig5);
    Strings names, texts;
    for (const LinkRow& row : std::span(all).subspan(1)) {
        names.push_back(row.name);
        texts.push_back(row.text);
    }
    EXPECT_EQ(names, (Strings{"Binary", "Xyz", "Number", "NoNul", "Full", "Empty", "TwoPaths", "AR PL UMing TW"}));
    EXPECT_EQ(texts, (Strings{"\x01\x02zz", "D:\\FONTS\\A.TTE", "A", "C:\\NONUL.TTE", full256, "", "C:\\A.TTE",
                              "no assigned"}));
}

// A value too large for the first buffers is read whole; it hides neither itself nor
// the values after it.
TEST_F(LinkModelTest, OversizedValuesAreReadWhole)
{
    const std::string path259 = "C:\\" + std::string(252, 'D') + "\\E.TTE";
    registry.Add("Xyz", path259 + '\0');
    registry.Add(std::string(300, 'N'), "C:\\LONGNAME.TTE");
    registry.Add("Huge", std::string(70000, 'x'));
    registry.Add("SystemDefaultEUDCFont", "C:\\WINDOWS\\EUDC.TTE");

    links.LoadLinks();

    EXPECT_EQ(LinkOf(0), "C:\\WINDOWS\\EUDC.TTE");
    EXPECT_EQ(LinkOf(1), path259);
    const std::vector<LinkRow> all = MakeRows({}, registry.values, "C:\\F", kBig5);
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[1].name, std::string(300, 'N'));
    EXPECT_EQ(all[2].text, std::string(70000, 'x'));
}

TEST_F(LinkModelTest, EnumerationErrorEndsTheLinksQuietly)
{
    registry.Add("Xyz", "C:\\A.TTE");
    registry.Add("AR PL UMing TW", "C:\\B.TTE");
    registry.enumFailureAt = 1;

    links.LoadLinks();

    EXPECT_EQ(LinkOf(1), "C:\\A.TTE");
    EXPECT_EQ(LinkOf(2), "(no link)");
    EXPECT_EQ(events, (Events{"open read", "close"}));
}

// A row finds its value as the registry does: "xyz" is the value of "Xyz". Only letters
// fold: A4 61 and A4 41 are two characters whose second bytes look like "a" and "A". The
// value keeps its own letters, and no row of its own.
TEST_F(LinkModelTest, RowsFindTheirValuesAsTheRegistryDoes)
{
    fonts.families.push_back({"\xA4\x41", fonts::kBig5CharSet, fonts::kTrueType});
    fonts.families.push_back({"\xA2\xCF", fonts::kBig5CharSet, fonts::kTrueType});
    links.BuildFontList();
    registry.Add("xyz", "C:\\LOWER.TTE");
    registry.Add("systemdefaulteudcfont", "C:\\DEFAULT.TTE");
    registry.Add("\xA4\x61", "C:\\OTHER.TTE");
    registry.Add("\xA2\xE9", "C:\\FULLWIDTH.TTE");
    links.LoadLinks();

    EXPECT_EQ(LinkOf(0), "C:\\DEFAULT.TTE");
    EXPECT_EQ(LinkOf(1), "C:\\LOWER.TTE");
    EXPECT_EQ(Row(1).name, "Xyz");
    EXPECT_EQ(Row(1).valueName, "xyz");
    EXPECT_EQ(LinkOf(2), "(no link)");
    EXPECT_EQ(LinkOf(3), "(no link)");
    EXPECT_EQ(LinkOf(4), "C:\\FULLWIDTH.TTE");

    const std::vector<LinkRow> all = MakeRows({"SystemDefaultEUDCFont", "XYZ", "Xyz"}, registry.values, "C:\\F", kBig5);
    ASSERT_EQ(all.size(), 5u);  // both spellings of the font show its value; the others follow
    EXPECT_EQ(all[2].text, "C:\\LOWER.TTE");
    EXPECT_EQ(all[3].name, "\xA4\x61");
    EXPECT_EQ(all[4].name, "\xA2\xE9");
}

TEST(LinkFileName, CutsAtTheLastRealBackslash)
{
    const struct {
        const char* path;
        const char* shown;
    } cases[] = {
        {"D:\\WINDOWS\\FONTS\\EUDC.TTE", "EUDC.TTE"},
        {"EUDC.TTE", "EUDC.TTE"},
        {"C:\\FONTS\\", ""},
        {"", ""},
        // 功 is A5 5C: its second byte is no backslash.
        {"C:\\FONTS\\\xA5\x5C.TTE", "\xA5\x5C.TTE"},
        {"C:\\\xA5\x5CX\\\xA5\x5C", "\xA5\x5C"},
        {"C:\\FONTS\\AB\xA5\x5C", "AB\xA5\x5C"},
        // A lone lead byte at the end takes nothing beyond it.
        {"C:\\FONTS\\AB\xA5", "AB\xA5"},
        {"\xA5", "\xA5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LinkFileName(c.path, IsBig5LeadByte), c.shown) << c.path;

    const LeadByteTest singleByte = [](unsigned char) { return false; };
    EXPECT_EQ(LinkFileName("C:\\FONTS\\\xA5\x5C.TTE", singleByte), ".TTE");
}

// What a link's text names, as Windows resolves paths: the one rule of the rows, check,
// link, pack and unpack.
TEST(LinkedFile, ResolvesAsWindowsDoesAndRefusesWhatIsNoPlainFile)
{
    const struct {
        const char* text;
        PathPlace place;
        const char* path;
    } cases[] = {
        {"C:/eudc/A.TTE", PathPlace::Local, "C:\\eudc\\A.TTE"},
        {"C:\\eudc\\\\.\\x\\..\\A.TTE", PathPlace::Local, "C:\\eudc\\A.TTE"},
        {"C:\\..\\..\\A.TTE", PathPlace::Local, "C:\\A.TTE"},
        {"EUDC.TTE", PathPlace::Local, "C:\\Windows\\Fonts\\EUDC.TTE"},
        {"C:\\\xA5\x5C\\\xA5\x5C.TTE", PathPlace::Local, "C:\\\xA5\x5C\\\xA5\x5C.TTE"},  // 功's second byte is 0x5C
        {"\\\\host\\share\\X.TTE", PathPlace::Share, "\\\\host\\share\\X.TTE"},
        {"//host/share/X.TTE", PathPlace::Share, "\\\\host\\share\\X.TTE"},
        {"\\\\host\\share\\..\\..\\X.TTE", PathPlace::Share, "\\\\host\\share\\X.TTE"},
        // Devices, streams, the device namespaces, folders, and paths relative to something.
        {"C:\\eudc\\NUL.TTE", PathPlace::Nowhere, ""},
        {"C:\\eudc\\com1 .tte", PathPlace::Nowhere, ""},
        {"LPT9.TTE", PathPlace::Nowhere, ""},
        {"C:\\aux\\A.TTE", PathPlace::Nowhere, ""},
        {"C:\\eudc\\evil.dll:x.TTE", PathPlace::Nowhere, ""},
        {"\\\\?\\C:\\eudc\\A.TTE", PathPlace::Nowhere, ""},
        {"\\\\.\\C:\\eudc\\A.TTE", PathPlace::Nowhere, ""},
        {"\\??\\C:\\A.TTE", PathPlace::Nowhere, ""},
        {"\\\\host", PathPlace::Nowhere, ""},
        {"\\\\host\\share", PathPlace::Nowhere, ""},
        {"C:\\eudc\\", PathPlace::Nowhere, ""},
        {"C:\\eudc\\A.TTE.", PathPlace::Nowhere, ""},
        {"C:\\eudc\\A.TTE ", PathPlace::Nowhere, ""},
        {"C:eudc\\A.TTE", PathPlace::Nowhere, ""},
        {"\\eudc\\A.TTE", PathPlace::Nowhere, ""},
        {"eudc\\A.TTE", PathPlace::Nowhere, ""},
        {"C:\\eudc\\A?.TTE", PathPlace::Nowhere, ""},
        {"C:\\eudc\\A\tB.TTE", PathPlace::Nowhere, ""},
        {"", PathPlace::Nowhere, ""},
    };
    for (const auto& c : cases) {
        const ResolvedPath resolved = LinkedFile(c.text, "C:\\Windows\\Fonts", IsBig5LeadByte);
        EXPECT_EQ(resolved.place, c.place) << c.text;
        EXPECT_EQ(resolved.path, c.path) << c.text;
    }
}

TEST(HasEudcExtension, TakesTtfAndTteInAnyLetterCase)
{
    for (const char* accepted : {".TTF", ".tte", "C:\\A.ttf", "C:\\A.Tte", "C:\\\xA5\x5C.tTe"})
        EXPECT_TRUE(HasEudcExtension(accepted)) << accepted;
    for (const char* refused : {"", "TTF", ".tt", "C:\\A.ttc", "C:\\A.fon", "C:\\A.TTF ", "C:\\ATTF",
                                "C:\\A.TT\xC6", "C:\\A.\xD4TF"})
        EXPECT_FALSE(HasEudcExtension(refused)) << refused;
}
