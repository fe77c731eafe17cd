// Linking and unlinking the selected row: what they change, and the order of their steps.
#include "LinkModelTest.h"

namespace {

const Events kEudcOff{"load GDI32.DLL", "find EnableEUDC", "EnableEUDC 0", "free"};
const Events kEudcOn{"load GDI32.DLL", "find EnableEUDC", "EnableEUDC 1", "free"};
const Events kReloadAndRepaint{"open read", "close", "repaint"};

Events Join(std::initializer_list<Events> parts)
{
    Events all;
    for (const Events& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

}  // namespace

TEST_F(LinkModelTest, ModifyWritesThePathWithEudcSupportOff)
{
    window.selectedRow = 1;
    window.chosenPath = "C:\\EUDC\\EUDC.TTE";

    links.LinkSelected();

    EXPECT_EQ(events, Join({{"choose file"}, kEudcOff, {"open write", "set Xyz", "close"}, kEudcOn,
                            kReloadAndRepaint}));
    ASSERT_NE(registry.Find("Xyz"), nullptr);
    EXPECT_EQ(registry.Find("Xyz")->type, registry::kString);
    EXPECT_EQ(registry.AnsiData("Xyz"), std::string("C:\\EUDC\\EUDC.TTE\0", 17));
    EXPECT_EQ(LinkOf(1), "C:\\EUDC\\EUDC.TTE");
}

TEST_F(LinkModelTest, ModifyOnRowZeroLinksTheSystemDefault)
{
    window.chosenPath = "C:\\DEFAULT.ttf";
    links.LinkSelected();
    EXPECT_EQ(registry.AnsiData("SystemDefaultEUDCFont"), std::string("C:\\DEFAULT.ttf\0", 15));
    EXPECT_EQ(LinkOf(0), "C:\\DEFAULT.ttf");
}

TEST_F(LinkModelTest, ModifyReplacesALink)
{
    registry.Add("Xyz", "C:\\OLD.TTE");
    window.selectedRow = 1;
    window.chosenPath = "C:\\NEW.TTE";
    links.LinkSelected();
    EXPECT_EQ(registry.values.size(), 1u);
    EXPECT_EQ(LinkOf(1), "C:\\NEW.TTE");
}

// The path of 259 bytes fills the open-file dialog's buffer; it is written in full and,
// read whole, shows on its row.
TEST_F(LinkModelTest, LongestPathIsWrittenAndShown)
{
    const std::string path259 = "C:\\" + std::string(247, 'D') + "\\LAST.TTE";
    ASSERT_EQ(path259.size(), 259u);
    window.selectedRow = 1;
    window.chosenPath = path259.c_str();
    links.LinkSelected();
    EXPECT_EQ(registry.AnsiData("Xyz"), path259 + '\0');
    EXPECT_EQ(LinkOf(1), path259);
}

TEST_F(LinkModelTest, CommandsDoNothingWithoutASelection)
{
    window.chosenPath = "C:\\A.TTE";
    for (const int row : {-1, 3}) {  // none, and past the last row
        window.selectedRow = row;
        links.LinkSelected();
        links.UnlinkSelected();
    }
    EXPECT_EQ(events, Events{});
}

TEST_F(LinkModelTest, ModifyEndsQuietlyWhenTheFileIsNotTaken)
{
    window.selectedRow = 1;
    window.chosenPath = nullptr;  // cancelled
    links.LinkSelected();
    for (const char* refused : {"C:\\A.TTC", "C:\\A.fon", "TTF", ""}) {
        window.chosenPath = refused;
        links.LinkSelected();
    }
    window.chosenPath = "C:\\A.TTE";
    window.rowSelectedMeanwhile = -1;  // the selection is gone when the dialog closes
    links.LinkSelected();

    EXPECT_EQ(events, Events(6, "choose file"));
    EXPECT_TRUE(registry.values.empty());
}

// The open-file dialog has no owner: the user may select another row while it is open.
TEST_F(LinkModelTest, LinkGoesToTheRowSelectedWhenTheDialogCloses)
{
    window.selectedRow = 1;
    window.rowSelectedMeanwhile = 2;
    window.chosenPath = "C:\\A.TTE";
    links.LinkSelected();
    EXPECT_EQ(registry.Find("Xyz"), nullptr);
    EXPECT_NE(registry.Find("AR PL UMing TW"), nullptr);
}

TEST_F(LinkModelTest, RemoveDeletesTheLinkWithEudcSupportOff)
{
    registry.Add("Xyz", "C:\\A.TTE");
    registry.Add("Other", "C:\\B.TTE");
    window.selectedRow = 1;

    links.UnlinkSelected();

    EXPECT_EQ(events, Join({kEudcOff, {"open write", "delete Xyz", "close"}, kEudcOn, kReloadAndRepaint}));
    EXPECT_EQ(registry.Find("Xyz"), nullptr);
    EXPECT_NE(registry.Find("Other"), nullptr);
    EXPECT_EQ(LinkOf(1), "(no link)");
}

TEST_F(LinkModelTest, RemoveWithoutALinkStillSwitchesEudcSupport)
{
    registry.Add("Other", "C:\\B.TTE");
    window.selectedRow = 2;
    links.UnlinkSelected();
    EXPECT_EQ(events, Join({kEudcOff, {"open write", "delete AR PL UMing TW", "close"}, kEudcOn,
                            kReloadAndRepaint}));
    EXPECT_EQ(registry.values.size(), 1u);
}

// A value named in another letter case is the font's link: its row shows it, Modify
// replaces it under the name it has, and Remove deletes it.
TEST_F(LinkModelTest, CommandsReachAValueNamedInAnotherLetterCase)
{
    registry.Add("xyz", "C:\\LOWER.TTE");
    links.LoadLinks();
    ASSERT_EQ(LinkOf(1), "C:\\LOWER.TTE");
    window.selectedRow = 1;

    window.chosenPath = "C:\\NEW.TTE";
    links.LinkSelected();
    ASSERT_EQ(registry.values.size(), 1u);
    EXPECT_EQ(registry.values[0].name, u"xyz");
    EXPECT_EQ(registry.AnsiData("xyz"), std::string("C:\\NEW.TTE\0", 11));
    EXPECT_EQ(LinkOf(1), "C:\\NEW.TTE");

    links.UnlinkSelected();
    EXPECT_TRUE(registry.values.empty());
    EXPECT_EQ(LinkOf(1), "(no link)");
}

// Another program deleted the key: Modify makes it again as start-up does and writes the
// link; Remove has nothing to delete and says nothing.
TEST_F(LinkModelTest, KeyDeletedMeanwhileIsCreatedByModifyOnly)
{
    registry.keyExists = false;
    window.selectedRow = 1;
    links.UnlinkSelected();
    EXPECT_EQ(events, Join({kEudcOff, {"open write"}, kEudcOn, {"open read", "create all", "close", "repaint"}}));

    registry.keyExists = false;
    registry.createdClass.clear();
    events.clear();
    window.chosenPath = "C:\\A.TTE";
    links.LinkSelected();
    EXPECT_EQ(events, Join({{"choose file"}, kEudcOff, {"open write", "create all", "set Xyz", "close"}, kEudcOn,
                            kReloadAndRepaint}));
    EXPECT_EQ(registry.createdClass, "REG_SZ");
    EXPECT_EQ(LinkOf(1), "C:\\A.TTE");
}

// A key that cannot be opened for writing, or a write or deletion that fails, is said
// before EUDC support goes back on; the rest of the command still runs.
TEST_F(LinkModelTest, ChangesThatFailAreShown)
{
    const Events failed{"message Access Registry Database failed!"};
    registry.Add("Xyz", "C:\\OLD.TTE");
    window.selectedRow = 1;
    window.chosenPath = "C:\\A.TTE";

    registry.canWrite = false;
    links.LinkSelected();
    EXPECT_EQ(events, Join({{"choose file"}, kEudcOff, {"open write"}, failed, kEudcOn, kReloadAndRepaint}));
    events.clear();
    links.UnlinkSelected();
    EXPECT_EQ(events, Join({kEudcOff, {"open write"}, failed, kEudcOn, kReloadAndRepaint}));

    registry.canWrite = true;
    registry.writeResult = registry::kAccessDenied;  // on the value
    events.clear();
    links.LinkSelected();
    EXPECT_EQ(events, Join({{"choose file"}, kEudcOff, {"open write", "set Xyz", "close"}, failed, kEudcOn,
                            kReloadAndRepaint}));
    events.clear();
    links.UnlinkSelected();
    EXPECT_EQ(events, Join({kEudcOff, {"open write", "delete Xyz", "close"}, failed, kEudcOn, kReloadAndRepaint}));

    EXPECT_EQ(registry.AnsiData("Xyz"), "C:\\OLD.TTE");
    EXPECT_EQ(LinkOf(1), "C:\\OLD.TTE");
}

// A failing reload is reported for each switch, once the library is released, and stops
// nothing.
TEST_F(LinkModelTest, EudcSwitchFailuresAreShownAndTheChangeIsMade)
{
    window.selectedRow = 1;
    window.chosenPath = "C:\\A.TTE";
    libraries.entryPointExists = false;
    links.LinkSelected();
    const Events missingEntry{"load GDI32.DLL", "find EnableEUDC", "free", "message GetProcAddress Failed"};
    EXPECT_EQ(events, Join({{"choose file"}, missingEntry, {"open write", "set Xyz", "close"}, missingEntry,
                            kReloadAndRepaint}));

    events.clear();
    libraries.libraryExists = false;
    links.UnlinkSelected();
    const Events missingLibrary{"load GDI32.DLL", "message LoadLibrary Failed"};
    EXPECT_EQ(events, Join({missingLibrary, {"open write", "delete Xyz", "close"}, missingLibrary,
                            kReloadAndRepaint}));
    EXPECT_TRUE(registry.values.empty());
}
