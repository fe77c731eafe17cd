// Modify and Remove: what they change, and the order of their steps.
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

    links.OnModify();

    EXPECT_EQ(events, Join({{"choose file"}, kEudcOff, {"open write", "set Xyz", "close"}, kEudcOn,
                            kReloadAndRepaint}));
    const FakeValue* written = registry.Find("Xyz");
    ASSERT_NE(written, nullptr);
    EXPECT_EQ(written->type, registry::kString);
    EXPECT_EQ(written->data, std::string("C:\\EUDC\\EUDC.TTE\0", 17));
    EXPECT_EQ(links.GetLinkText(1), "EUDC.TTE");
}

TEST_F(LinkModelTest, ModifyOnRowZeroLinksTheSystemDefault)
{
    window.chosenPath = "C:\\DEFAULT.ttf";
    links.OnModify();
    ASSERT_NE(registry.Find("SystemDefaultEUDCFont"), nullptr);
    EXPECT_EQ(links.GetLinkText(0), "DEFAULT.ttf");
}

TEST_F(LinkModelTest, ModifyReplacesALink)
{
    registry.Add("Xyz", "C:\\OLD.TTE");
    window.selectedRow = 1;
    window.chosenPath = "C:\\NEW.TTE";
    links.OnModify();
    EXPECT_EQ(registry.values.size(), 1u);
    EXPECT_EQ(links.GetLinkText(1), "NEW.TTE");
}

// The path of 259 bytes fills the open-file dialog's buffer; it is written in full and,
// read whole, shows on its row.
TEST_F(LinkModelTest, LongestPathIsWrittenAndShown)
{
    const std::string path259 = "C:\\" + std::string(247, 'D') + "\\LAST.TTE";
    ASSERT_EQ(path259.size(), 259u);
    window.selectedRow = 1;
    window.chosenPath = path259.c_str();
    links.OnModify();
    EXPECT_EQ(registry.Find("Xyz")->data.size(), 260u);
    EXPECT_EQ(links.GetLinkText(1), "LAST.TTE");
}

TEST_F(LinkModelTest, CommandsDoNothingWithoutASelection)
{
    window.selectedRow = -1;
    window.chosenPath = "C:\\A.TTE";
    links.OnModify();
    links.OnRemove();
    links.OnDblclkFontList();
    EXPECT_EQ(events, Events{});
}

TEST_F(LinkModelTest, ModifyEndsQuietlyWhenTheFileIsNotTaken)
{
    window.selectedRow = 1;
    window.chosenPath = nullptr;  // cancelled
    links.OnModify();
    for (const char* refused : {"C:\\A.TTC", "C:\\A.fon", "TTF", ""}) {
        window.chosenPath = refused;
        links.OnModify();
    }
    window.chosenPath = "C:\\A.TTE";
    window.rowSelectedMeanwhile = -1;  // the selection is gone when the dialog closes
    links.OnModify();

    EXPECT_EQ(events, Events(6, "choose file"));
    EXPECT_TRUE(registry.values.empty());
}

// The open-file dialog has no owner: the user may select another row while it is open.
TEST_F(LinkModelTest, LinkGoesToTheRowSelectedWhenTheDialogCloses)
{
    window.selectedRow = 1;
    window.rowSelectedMeanwhile = 2;
    window.chosenPath = "C:\\A.TTE";
    links.OnModify();
    EXPECT_EQ(registry.Find("Xyz"), nullptr);
    EXPECT_NE(registry.Find("AR PL UMing TW"), nullptr);
}

TEST_F(LinkModelTest, DoubleClickIsModify)
{
    window.selectedRow = 2;
    window.chosenPath = "C:\\A.TTE";
    links.OnDblclkFontList();
    EXPECT_EQ(links.GetLinkText(2), "A.TTE");
}

TEST_F(LinkModelTest, RemoveDeletesTheLinkWithEudcSupportOff)
{
    registry.Add("Xyz", "C:\\A.TTE");
    registry.Add("Other", "C:\\B.TTE");
    window.selectedRow = 1;

    links.OnRemove();

    EXPECT_EQ(events, Join({kEudcOff, {"open write", "delete Xyz", "close"}, kEudcOn, kReloadAndRepaint}));
    EXPECT_EQ(registry.Find("Xyz"), nullptr);
    EXPECT_NE(registry.Find("Other"), nullptr);
    EXPECT_EQ(links.GetLinkText(1), "no assigned");
}

TEST_F(LinkModelTest, RemoveWithoutALinkStillSwitchesEudcSupport)
{
    registry.Add("Other", "C:\\B.TTE");
    window.selectedRow = 2;
    links.OnRemove();
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
    ASSERT_EQ(links.GetLinkText(1), "LOWER.TTE");
    window.selectedRow = 1;

    window.chosenPath = "C:\\NEW.TTE";
    links.OnModify();
    ASSERT_EQ(registry.values.size(), 1u);
    EXPECT_EQ(registry.values[0].name, "xyz");
    EXPECT_EQ(registry.values[0].data, std::string("C:\\NEW.TTE\0", 11));
    EXPECT_EQ(links.GetLinkText(1), "NEW.TTE");

    links.OnRemove();
    EXPECT_TRUE(registry.values.empty());
    EXPECT_EQ(links.GetLinkText(1), "no assigned");
}

// Another program deleted the key: Modify makes it again as start-up does and writes the
// link; Remove has nothing to delete and says nothing.
TEST_F(LinkModelTest, KeyDeletedMeanwhileIsCreatedByModifyOnly)
{
    registry.keyExists = false;
    window.selectedRow = 1;
    links.OnRemove();
    EXPECT_EQ(events, Join({kEudcOff, {"open write"}, kEudcOn, {"open read", "create all", "close", "repaint"}}));

    registry.keyExists = false;
    registry.createdClass.clear();
    events.clear();
    window.chosenPath = "C:\\A.TTE";
    links.OnModify();
    EXPECT_EQ(events, Join({{"choose file"}, kEudcOff, {"open write", "create all", "set Xyz", "close"}, kEudcOn,
                            kReloadAndRepaint}));
    EXPECT_EQ(registry.createdClass, "REG_SZ");
    EXPECT_EQ(links.GetLinkText(1), "A.TTE");
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
    links.OnModify();
    EXPECT_EQ(events, Join({{"choose file"}, kEudcOff, {"open write"}, failed, kEudcOn, kReloadAndRepaint}));
    events.clear();
    links.OnRemove();
    EXPECT_EQ(events, Join({kEudcOff, {"open write"}, failed, kEudcOn, kReloadAndRepaint}));

    registry.canWrite = true;
    registry.writeResult = 5;  // access denied on the value
    events.clear();
    links.OnModify();
    EXPECT_EQ(events, Join({{"choose file"}, kEudcOff, {"open write", "set Xyz", "close"}, failed, kEudcOn,
                            kReloadAndRepaint}));
    events.clear();
    links.OnRemove();
    EXPECT_EQ(events, Join({kEudcOff, {"open write", "delete Xyz", "close"}, failed, kEudcOn, kReloadAndRepaint}));

    EXPECT_EQ(registry.values[0].data, "C:\\OLD.TTE");
    EXPECT_EQ(links.GetLinkText(1), "OLD.TTE");
}

// A failing reload is reported for each switch, once the library is released, and stops
// nothing.
TEST_F(LinkModelTest, EudcSwitchFailuresAreShownAndTheChangeIsMade)
{
    window.selectedRow = 1;
    window.chosenPath = "C:\\A.TTE";
    libraries.entryPointExists = false;
    links.OnModify();
    const Events missingEntry{"load GDI32.DLL", "find EnableEUDC", "free", "message GetProcAddress Failed"};
    EXPECT_EQ(events, Join({{"choose file"}, missingEntry, {"open write", "set Xyz", "close"}, missingEntry,
                            kReloadAndRepaint}));

    events.clear();
    libraries.libraryExists = false;
    links.OnRemove();
    const Events missingLibrary{"load GDI32.DLL", "message LoadLibrary Failed"};
    EXPECT_EQ(events, Join({missingLibrary, {"open write", "delete Xyz", "close"}, missingLibrary,
                            kReloadAndRepaint}));
    EXPECT_TRUE(registry.values.empty());
}
