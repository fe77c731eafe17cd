// The character view's command on a row whose file is not yet checked: it says so and
// leaves the file alone, as the file may be on a share that does not answer.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "FileDoubles.h"
#include "ModalScript.h"
#include "TestApp.h"
#include "platform/win32/Resources.h"
#include "resource.h"
#include "ui/FontLinkDlg.h"

namespace {

constexpr char kKey[] = "EUDC\\950";
constexpr char kFont[] = "AR PL UMing TW";
constexpr LPARAM kMissingFile = 3;

// The text of the message box the main dialog has open, its OK pressed; empty for none.
CString AnswerMessage(HWND main)
{
    for (HWND box : OwnedDialogs(main)) {
        char text[256] = {};
        if (::GetDlgItemTextA(box, 0xFFFF, text, sizeof text) > 0) {
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            return text;
        }
    }
    return {};
}

}  // namespace

TEST(CharacterViewTest, ARowStillBeingCheckedSaysSoAndOnceCheckedSaysWhy)
{
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
    const char path[] = "C:\\eudc\\SLOW.TTE";
    ::RegSetKeyValueA(HKEY_CURRENT_USER, kKey, kFont, REG_SZ, path, sizeof path);
    SlowShare& share = *new SlowShare;
    TestApp test{nullptr, &share};
    CFontLinkDlg dialog = test.app.MainDialog();
    const HINSTANCE instance = test.app.m_dialogs.instance;
    HWND list = nullptr;
    CString said;
    const auto askForCharacters = [&] {
        list = ::GetDlgItem(dialog.m_hWnd, IDC_FONT_LIST);
        const auto row = ::SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(kFont));
        ::SendMessageA(list, LB_SETCURSEL, row, 0);
        ::PostMessageA(dialog.m_hWnd, WM_SYSCOMMAND, IDM_CHARACTERS, 0);
    };
    RunModalScript(dialog, {
        askForCharacters,
        RepeatUntil("a message box", [&] { return !(said = AnswerMessage(dialog.m_hWnd)).empty(); }),
        [&] {
            EXPECT_EQ(said, LoadResourceString(instance, IDS_CHARS_UNCHECKED));
            EXPECT_EQ(share.Checked(), 0);
            share.Answer();
        },
        RepeatUntil("the missing file's state", [&] {
            return ::SendMessageA(list, LB_GETITEMDATA, ::SendMessageA(list, LB_GETCURSEL, 0, 0), 0) == kMissingFile;
        }),
        askForCharacters,
        RepeatUntil("a message box", [&] { return !(said = AnswerMessage(dialog.m_hWnd)).empty(); }),
        [&] {
            EXPECT_EQ(said, LoadResourceString(instance, IDS_CHARS_MISSING_FILE));
            ::PostMessageA(dialog.m_hWnd, WM_COMMAND, IDCANCEL, 0);
        },
    });
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
}
