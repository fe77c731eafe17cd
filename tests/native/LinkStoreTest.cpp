// The table of links as read from the registry, and what the rows show of it.
#include "LinkModelTest.h"
#include "model/EudcPath.h"

using Strings = std::vector<std::string>;

TEST_F(LinkModelTest, MissingKeyIsCreatedAndEveryRowShowsNoLink)
{
    registry.keyExists = false;
    links.LoadLinks();

    EXPECT_EQ(events, (Events{"open read", "create all", "close"}));
    EXPECT_EQ(registry.createdClass, "REG_SZ");
    EXPECT_TRUE(links.m_linkFonts.empty());
    EXPECT_TRUE(links.m_linkFiles.empty());
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(links.GetLinkText(row), "no assigned");
}

TEST_F(LinkModelTest, KeyThatCannotBeOpenedOrCreatedKeepsTheLastTable)
{
    registry.Add("Xyz", std::string("C:\\OLD.TTE\0", 11));
    links.LoadLinks();
    registry.values.clear();
    registry.keyExists = false;
    registry.canCreate = false;
    events.clear();

    links.LoadLinks();

    EXPECT_EQ(events, (Events{"open read", "create all", "message Access Registry Database failed!"}));
    EXPECT_EQ(links.m_linkFonts, Strings{"Xyz"});
    EXPECT_EQ(links.GetLinkText(1), "OLD.TTE");
}

// Other programs write what they like: every value loads as text up to its first NUL,
// never past the size the registry gave, and in the registry's order.
TEST_F(LinkModelTest, ValuesOfAnyShapeLoadAsTextInRegistryOrder)
{
    const std::string full256(256, 'F');
    registry.Add("Xyz", std::string("D:\\FONTS\\A.TTE\0", 15));
    registry.Add("Binary", "\x01\x02zz", 3 /* REG_BINARY */);
    registry.Add("Number", std::string("A\0\0\0", 4), 4 /* REG_DWORD */);
    registry.Add("NoNul", "C:\\NONUL.TTE");
    registry.Add("Full", full256);
    registry.Add("Empty", "");
    registry.Add("TwoPaths", std::string("C:\\A.TTE\0C:\\B.TTE\0", 18));

    links.LoadLinks();
    links.LoadLinks();  // a reload replaces, never appends

    EXPECT_EQ(links.m_linkFonts, (Strings{"Xyz", "Binary", "Number", "NoNul", "Full", "Empty", "TwoPaths"}));
    EXPECT_EQ(links.m_linkFiles,
              (Strings{"D:\\FONTS\\A.TTE", "\x01\x02zz", "A", "C:\\NONUL.TTE", full256, "", "C:\\A.TTE"}));
}

// A value too large for the first buffers is read whole; it hides neither itself nor
// the values after it.
TEST_F(LinkModelTest, OversizedValuesAreReadWhole)
{
    const std::string path259 = "C:\\" + std::string(252, 'D') + "\\E.TTE";
    const std::string name300(300, 'N');
    const std::string data70k(70000, 'x');
    registry.Add("Xyz", path259 + '\0');
    registry.Add(name300, "C:\\LONGNAME.TTE");
    registry.Add("Huge", data70k);
    registry.Add("SystemDefaultEUDCFont", "C:\\WINDOWS\\EUDC.TTE");

    links.LoadLinks();

    EXPECT_EQ(links.m_linkFonts, (Strings{"Xyz", name300, "Huge", "SystemDefaultEUDCFont"}));
    EXPECT_EQ(links.m_linkFiles, (Strings{path259, "C:\\LONGNAME.TTE", data70k, "C:\\WINDOWS\\EUDC.TTE"}));
    EXPECT_EQ(links.GetLinkText(0), "EUDC.TTE");
    EXPECT_EQ(links.GetLinkText(1), "E.TTE");
}

TEST_F(LinkModelTest, TenThousandValuesAllLoad)
{
    for (int i = 0; i < 10000; ++i)
        registry.Add("Font " + std::to_string(i), "C:\\F" + std::to_string(i) + ".TTE");
    registry.Add("SystemDefaultEUDCFont", "C:\\DEFAULT.TTE");

    links.LoadLinks();

    EXPECT_EQ(links.m_linkFonts.size(), 10001u);
    EXPECT_EQ(links.m_linkFiles[9999], "C:\\F9999.TTE");
    EXPECT_EQ(links.GetLinkText(0), "DEFAULT.TTE");
}

TEST_F(LinkModelTest, EnumerationErrorEndsTheLoadQuietly)
{
    registry.Add("Xyz", "C:\\A.TTE");
    registry.Add("AR PL UMing TW", "C:\\B.TTE");
    registry.enumFailureAt = 1;

    links.LoadLinks();

    EXPECT_EQ(links.m_linkFonts, Strings{"Xyz"});
    EXPECT_EQ(events, (Events{"open read", "close"}));
}

// A row finds its value as the registry does: "xyz" is the value of "Xyz". Only letters
// fold: A4 61 and A4 41 are two characters whose second bytes look like "a" and "A".
TEST_F(LinkModelTest, LookupMatchesNamesAsTheRegistryDoes)
{
    FontList.push_back("\xA4\x41");
    registry.Add("xyz", "C:\\LOWER.TTE");
    registry.Add("systemdefaulteudcfont", "C:\\DEFAULT.TTE");
    registry.Add("\xA4\x61", "C:\\OTHER.TTE");
    links.LoadLinks();

    EXPECT_EQ(links.FindLink("Xyz"), 0);
    EXPECT_EQ(links.FindLink("XYZ"), 0);
    EXPECT_EQ(links.FindLink("Xy"), -1);
    EXPECT_EQ(links.FindLink("\xA4\x41"), -1);
    EXPECT_EQ(links.FindLink("\xA4\x61"), 2);
    EXPECT_EQ(links.GetLinkText(0), "DEFAULT.TTE");
    EXPECT_EQ(links.GetLinkText(1), "LOWER.TTE");
    EXPECT_EQ(links.GetLinkText(2), "no assigned");
    EXPECT_EQ(links.GetLinkText(3), "no assigned");
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

TEST(HasEudcExtension, TakesTtfAndTteInAnyLetterCase)
{
    for (const char* accepted : {".TTF", ".tte", "C:\\A.ttf", "C:\\A.Tte", "C:\\\xA5\x5C.tTe"})
        EXPECT_TRUE(HasEudcExtension(accepted)) << accepted;
    for (const char* refused : {"", "TTF", ".tt", "C:\\A.ttc", "C:\\A.fon", "C:\\A.TTF ", "C:\\ATTF",
                                "C:\\A.TT\xC6", "C:\\A.\xD4TF"})
        EXPECT_FALSE(HasEudcExtension(refused)) << refused;
}
