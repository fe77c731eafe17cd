// The main window beside other programs: linked files checked without holding the window
// up, the key's changes and the fonts installed meanwhile shown while it is open.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "FileDoubles.h"
#include "ModalScript.h"
#include "TestApp.h"
#include "platform/win32/UniqueHandle.h"
#include "resource.h"
#include "ui/FontLinkDlg.h"

namespace {

constexpr char kKey[] = "EUDC\\950";
constexpr char kFont[] = "AR PL UMing TW";
constexpr LPARAM kUnlinked = 2;
constexpr LPARAM kMissingFile = 3;

void Link(const char* font, const char* path)
{
    ::RegSetKeyValueA(HKEY_CURRENT_USER, kKey, font, REG_SZ, path, static_cast<DWORD>(std::strlen(path) + 1));
}

// The list's paints, as the dialog's thread takes them from its queue.
int listPaints = 0;
HWND watchedList = nullptr;
LRESULT CALLBACK CountMessages(int code, WPARAM removed, LPARAM message)
{
    const MSG& msg = *reinterpret_cast<const MSG*>(message);
    if (code == HC_ACTION && removed == PM_REMOVE)
        listPaints += msg.hwnd == watchedList && msg.message == WM_PAINT;
    return ::CallNextHookEx(nullptr, code, removed, message);
}

class FollowTest : public testing::Test {
protected:
    void SetUp() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, kKey); }
    void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, kKey); }

    HWND List() const { return ::GetDlgItem(dialog.m_hWnd, IDC_FONT_LIST); }
    int RowOf(const char* font) const
    {
        return static_cast<int>(::SendMessageA(List(), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                               reinterpret_cast<LPARAM>(font)));
    }
    LPARAM StateOf(const char* font) const { return ::SendMessageA(List(), LB_GETITEMDATA, RowOf(font), 0); }
    bool Selected(const char* font) const { return ::SendMessageA(List(), LB_GETCURSEL, 0, 0) == RowOf(font); }

    static inline EveryFileAFont files;
    TestApp test{nullptr, &files};
    CFontLinkDlg dialog = test.app.MainDialog();
};

}  // namespace

// The share answers only after the window has painted and taken a key: until then the row
// is not yet checked, and once it answers the row shows that its file is missing.
TEST(SlowShareTest, AShareThatDoesNotAnswerHoldsUpNeitherPaintNorInput)
{
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
    Link(kFont, "C:\\eudc\\SLOW.TTE");
    SlowShare& share = *new SlowShare;
    TestApp test{nullptr, &share};
    CFontLinkDlg dialog = test.app.MainDialog();
    HWND list = nullptr;
    RunModalScript(dialog, {
        [&] {
            list = ::GetDlgItem(dialog.m_hWnd, IDC_FONT_LIST);
            EXPECT_FALSE(::GetUpdateRect(list, nullptr, FALSE)) << "painted";
            ::SetFocus(list);
            PostKey(list, VK_DOWN);
        },
        [&] {
            EXPECT_EQ(::SendMessageA(list, LB_GETCURSEL, 0, 0), 1) << "the key moved the selection";
            EXPECT_EQ(share.Checked(), 0) << "a check returned before the share answered";
            share.Answer();
        },
        RepeatUntil("the missing file to be shown", [&] {
            const int row = static_cast<int>(::SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                            reinterpret_cast<LPARAM>(kFont)));
            return ::SendMessageA(list, LB_GETITEMDATA, row, 0) == kMissingFile;
        }),
        [&] { ::PostMessageA(dialog.m_hWnd, WM_COMMAND, IDCANCEL, 0); },
    });
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
}

// Another program adds and deletes links, deletes the key and makes it again; the window's
// own Remove repaints the list once, and the next change of another program once more.
TEST_F(FollowTest, TheKeysChangesShowAndTheWindowsOwnRepaintOnce)
{
    Link(kFont, "C:\\eudc\\TW.TTE");
    const UniqueHandle<HHOOK, ::UnhookWindowsHookEx> hook(
        ::SetWindowsHookExA(WH_GETMESSAGE, CountMessages, nullptr, ::GetCurrentThreadId()));
    RunModalScript(dialog, {
        [&] {
            watchedList = List();
            Link("SystemDefaultEUDCFont", "C:\\eudc\\DEFAULT.TTE");
        },
        RepeatUntil("the default's new link", [&] { return StateOf("SystemDefaultEUDCFont") != kUnlinked; }),
        [&] { ::RegDeleteTreeA(HKEY_CURRENT_USER, kKey); },
        RepeatUntil("the deleted key", [&] { return StateOf(kFont) == kUnlinked; }),
        [&] { Link(kFont, "C:\\eudc\\AGAIN.TTE"); },
        RepeatUntil("the key made again", [&] { return StateOf(kFont) != kUnlinked; }),
        [&] {
            ::SendMessageA(List(), LB_SETCURSEL, RowOf(kFont), 0);
            listPaints = 0;
            ::PostMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_REMOVE, BN_CLICKED), 0);
        },
        [&] {
            EXPECT_EQ(StateOf(kFont), kUnlinked);
            EXPECT_TRUE(Selected(kFont));
            Link("SystemDefaultEUDCFont", "C:\\eudc\\OTHER.TTE");
        },
        RepeatUntil("the other program's next change", [&] { return StateOf("SystemDefaultEUDCFont") != kUnlinked; }),
        [&] {
            EXPECT_EQ(listPaints, 2);
            ::PostMessageA(dialog.m_hWnd, WM_COMMAND, IDCANCEL, 0);
        },
    });
}

// Wine keeps fonts per process, so the font is added in the window's own, as an installer
// would system-wide, and the system's broadcast is made as the installer makes it.
TEST_F(FollowTest, FontsInstalledAndRemovedAddAndRemoveTheirRowsAndTheSelectionStays)
{
    constexpr char kAdded[] = "Follow Font";
    RunModalScript(dialog, {
        [&] {
            ::SendMessageA(List(), LB_SETCURSEL, RowOf(kFont), 0);
            ASSERT_EQ(RowOf(kAdded), LB_ERR);
            ASSERT_GT(::AddFontResourceExA(FOLLOW_FONT, 0, nullptr), 0);
            ::PostMessageA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0);
        },
        RepeatUntil("the installed font's row", [&] { return RowOf(kAdded) != LB_ERR; }),
        [&] {
            EXPECT_TRUE(Selected(kFont));
            ::RemoveFontResourceExA(FOLLOW_FONT, 0, nullptr);
            ::PostMessageA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0);
        },
        RepeatUntil("the removed font's row to go", [&] { return RowOf(kAdded) == LB_ERR; }),
        [&] {
            EXPECT_TRUE(Selected(kFont));
            ::PostMessageA(dialog.m_hWnd, WM_COMMAND, IDCANCEL, 0);
        },
    });
}
