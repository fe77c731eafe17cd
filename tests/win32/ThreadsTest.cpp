// The window's threads beside a share that stopped answering and a key that cannot be
// watched: a character view's read that waits is abandoned, never waited for, and the key's
// watch recovers from an arming that failed. (A check abandoned when the window closes is
// the native tests' and the stalled_share end-to-end test's.)
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "FileDoubles.h"
#include "ModalScript.h"
#include "TestApp.h"
#include "platform/win32/RegistryWatch.h"
#include "platform/win32/Resources.h"
#include "resource.h"
#include "ui/FontLinkDlg.h"

namespace {

constexpr char kKey[] = "EUDC\\950";
constexpr char kFont[] = "AR PL UMing TW";
constexpr char kPath[] = "C:\\eudc\\HELD.TTE";
constexpr LPARAM kLinked = 1;

void LinkOnly(const char* font, const char* path)
{
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
    ::RegSetKeyValueA(HKEY_CURRENT_USER, kKey, font, REG_SZ, path, static_cast<DWORD>(std::strlen(path) + 1));
}

HWND CharacterView(HWND main)
{
    for (HWND dialog : OwnedDialogs(main))
        if (::GetDlgItem(dialog, IDC_CHAR_GRID) != nullptr)
            return dialog;
    return nullptr;
}

// The text of the message box the main dialog has open, its OK pressed; empty for none.
CString AnswerMessage(HWND main)
{
    for (HWND box : OwnedDialogs(main)) {
        char text[256] = {};
        if (::GetDlgItem(box, IDC_CHAR_GRID) == nullptr && ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text) > 0) {
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            return text;
        }
    }
    return {};
}

// The message `message` for `window`, taken from the queue within `milliseconds`.
bool TakeMessage(HWND window, UINT message, MSG& taken, DWORD milliseconds = 5000)
{
    const DWORD start = ::GetTickCount();
    while (!::PeekMessageA(&taken, window, message, message, PM_REMOVE)) {
        if (::GetTickCount() - start > milliseconds)
            return false;
        ::Sleep(10);
    }
    return true;
}

// An empty access list keeps everyone out of the key; none lets everyone in.
bool AllowEveryone(HKEY key, bool allowed)
{
    SECURITY_DESCRIPTOR security{};
    ::InitializeSecurityDescriptor(&security, SECURITY_DESCRIPTOR_REVISION);
    ACL noOne{};
    ::InitializeAcl(&noOne, sizeof noOne, ACL_REVISION);
    ::SetSecurityDescriptorDacl(&security, TRUE, allowed ? nullptr : &noOne, FALSE);
    return ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &security) == ERROR_SUCCESS;
}

}  // namespace

// The file was checked, then its share stopped answering: the view opens at once, saying
// that it reads, both windows go on answering (each step runs on their thread), and the
// view closes at once; its read, let go afterwards, changes nothing. Asked again, the view
// reads the file, which the system cannot load (it is no file on the disk): it closes by
// itself and says so.
TEST(WindowThreadsTest, TheCharacterViewOfAFileThatStoppedAnsweringOpensAndClosesAtOnce)
{
    LinkOnly(kFont, kPath);
    static HeldFont share;
    TestApp test{nullptr, &share};
    CFontLinkDlg dialog = test.app.MainDialog();
    const HINSTANCE instance = test.app.m_dialogs.instance;
    HWND list = nullptr;
    HWND view = nullptr;
    DWORD asked = 0;
    CString said;
    RunModalScript(dialog, {
        [&] { list = ::GetDlgItem(dialog.m_hWnd, IDC_FONT_LIST); },
        RepeatUntil("the file to be checked", [&] { return AllLinksChecked(list); }),
        [&] {
            const auto row = ::SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                            reinterpret_cast<LPARAM>(kFont));
            ASSERT_EQ(::SendMessageA(list, LB_GETITEMDATA, row, 0), kLinked);
            ::SendMessageA(list, LB_SETCURSEL, row, 0);
            share.Hold();
            asked = ::GetTickCount();
            ::PostMessageA(dialog.m_hWnd, WM_SYSCOMMAND, IDM_CHARACTERS, 0);
        },
        RepeatUntil("the view to open", [&] { return (view = CharacterView(dialog.m_hWnd)) != nullptr; }),
        RepeatUntil("its read to wait", [&] { return share.Held() > 0; }),
        [&] {
            EXPECT_LT(::GetTickCount() - asked, 1000u);
            EXPECT_EQ(WindowTextA(::GetDlgItem(view, IDC_CHAR_COUNT)), LoadResourceString(instance, IDS_CHARS_READING));
            EXPECT_EQ(WindowTextA(::GetDlgItem(view, IDC_CHAR_CODE)), "");
            asked = ::GetTickCount();
            ::PostMessageA(view, WM_COMMAND, IDCANCEL, 0);
        },
        RepeatUntil("the view to close", [&] { return CharacterView(dialog.m_hWnd) == nullptr; }),
        [&] {
            EXPECT_LT(::GetTickCount() - asked, 1000u);
            EXPECT_TRUE(OwnedDialogs(dialog.m_hWnd).empty()) << "closing the view was taken for a failure";
            share.Release();
            ::PostMessageA(dialog.m_hWnd, WM_SYSCOMMAND, IDM_CHARACTERS, 0);
        },
        RepeatUntil("a message box", [&] { return !(said = AnswerMessage(dialog.m_hWnd)).empty(); }),
        [&] {
            EXPECT_EQ(said, LoadResourceString(instance, IDS_CHARS_UNREADABLE));
            EXPECT_EQ(CharacterView(dialog.m_hWnd), nullptr);
            ::PostMessageA(dialog.m_hWnd, WM_COMMAND, IDCANCEL, 0);
        },
    });
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
}

// The watched key cannot be opened: the watch tells the window all the same, after a
// while, and each time it re-arms; once it can, a change is told as before.
TEST(WindowThreadsTest, AWatchThatCouldNotBeSetTellsTheWindowToTryAgain)
{
    constexpr char kRoot[] = "Software\\Veltrane watch test";
    constexpr UINT kMessage = WM_APP + 7;
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kRoot);
    UniqueKey root;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kRoot, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, root.put(), nullptr),
              ERROR_SUCCESS);
    const UniqueHandle<HWND, ::DestroyWindow> window(
        ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
    ASSERT_TRUE(AllowEveryone(root.get(), false));

    RegistryWatch watch(root.get(), "EUDC", window.get(), kMessage);
    watch.Post();
    MSG told{};
    ASSERT_TRUE(TakeMessage(window.get(), kMessage, told)) << "a watch that could not be set was silent";
    EXPECT_TRUE(watch.IsCurrent(told.wParam));
    EXPECT_FALSE(watch.Rearm());
    ASSERT_TRUE(TakeMessage(window.get(), kMessage, told)) << "the next failed arming was silent";

    ASSERT_TRUE(AllowEveryone(root.get(), true));
    EXPECT_TRUE(watch.Rearm());
    UniqueKey made;
    ASSERT_EQ(::RegCreateKeyExA(root.get(), "EUDC", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, made.put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_TRUE(TakeMessage(window.get(), kMessage, told)) << "the key's making was not told";
    EXPECT_TRUE(watch.IsCurrent(told.wParam));
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kRoot);
}
