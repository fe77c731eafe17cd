// The main dialog as the user meets it, driven from inside its own modal loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <iterator>

#include "ModalScript.h"
#include "app/AboutDate.h"
#include "app/FontLinkApp.h"
#include "model/FontList.h"
#include "platform/Centering.h"
#include "platform/win32/UniqueHandle.h"
#include "resource.h"
#include "ui/FontLinkDlg.h"

namespace {

std::vector<HWND> Children(HWND dialog)
{
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

Bounds ToBounds(const RECT& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

RECT WorkArea()
{
    RECT area{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

void ExpectCentred(HWND window, const RECT& center)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    const Position expected = CenteredPosition(ToBounds(rect), ToBounds(center), ToBounds(WorkArea()));
    EXPECT_EQ(rect.left, expected.x);
    EXPECT_EQ(rect.top, expected.y);
}

HWND TheAboutBox(HWND mainDialog, bool shownOnly = true)
{
    for (HWND box : OwnedDialogs(mainDialog, shownOnly))
        if (::GetDlgItem(box, IDC_DATE) != nullptr)
            return box;
    return nullptr;
}

void Click(HWND dialog, int id)
{
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

// The main dialog as the application makes it.
class MainDialogTest : public testing::Test {
protected:
    HWND Window() const { return dialog.m_hWnd; }

    CFontLinkDlg dialog = theApp.MainDialog();
};

}  // namespace

TEST_F(MainDialogTest, OpensAsItsTemplateSays)
{
    const INT_PTR result = RunModalScript(dialog, {[&] {
        const HWND window = Window();
        EXPECT_EQ(WindowTextW(window), L"Corvale Windows 95 外字集關聯程式 Version 1.0");
        // The dialog manager adds DS_3DLOOK, and WS_CLIPSIBLINGS as to every top-level
        // window that is no popup.
        EXPECT_EQ(::GetWindowLongA(window, GWL_STYLE) & ~(WS_CLIPSIBLINGS | DS_3DLOOK), 0x10CA00C0);

        const struct {
            int id;
            const char* className;
            LONG style;
            const wchar_t* text;
        } expected[] = {
            {IDOK, "Button", 0x50010001, L"關閉(&C)"},
            {IDC_FONT_LIST, "ListBox", 0x50310053, L""},
            {IDC_STATIC, "Button", 0x50000007, L"指定對應外字集"},
            {IDC_MODIFY, "Button", 0x50010000, L"修正...(&M)"},
            {IDC_REMOVE, "Button", 0x50010000, L"移除(&R)"},
            {IDC_ABOUT, "Button", 0x50010000, L"關於...(&A)"},
        };
        const std::vector<HWND> children = Children(window);
        ASSERT_EQ(children.size(), std::size(expected));
        for (size_t i = 0; i < children.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(static_cast<short>(::GetDlgCtrlID(children[i])), expected[i].id);
            EXPECT_STRCASEEQ(ClassName(children[i]).c_str(), expected[i].className);
            // The list shows its scroll bars only when it needs them, and has no need here.
            EXPECT_EQ(::GetWindowLongA(children[i], GWL_STYLE) | (expected[i].style & (WS_VSCROLL | WS_HSCROLL)),
                      expected[i].style);
            EXPECT_EQ(WindowTextW(children[i]), expected[i].text);
        }

        EXPECT_EQ(::GetFocus(), ::GetDlgItem(window, IDOK));
        ExpectCentred(window, WorkArea());
        const auto icon = reinterpret_cast<HICON>(::SendMessageA(window, WM_GETICON, ICON_BIG, 0));
        EXPECT_EQ(icon, ::LoadIconA(theApp.m_dialogs.instance, MAKEINTRESOURCEA(IDR_MAINFRAME)));
        EXPECT_EQ(::SendMessageA(window, WM_QUERYDRAGICON, 0, 0), reinterpret_cast<LRESULT>(icon));

        const HMENU menu = ::GetSystemMenu(window, FALSE);
        const int count = ::GetMenuItemCount(menu);
        ASSERT_GE(count, 2);
        EXPECT_EQ(::GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));
        EXPECT_EQ(::GetMenuItemID(menu, count - 1), UINT(IDM_ABOUTBOX));
        char entry[64] = {};
        ::GetMenuStringA(menu, count - 1, entry, sizeof entry, MF_BYPOSITION);
        EXPECT_STREQ(entry, "&About veltrane...");

        ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    }});
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(MainDialogTest, ListsTheFontListRowForRowWithRowZeroSelected)
{
    RunModalScript(dialog, {[&] {
        const HWND list = ::GetDlgItem(Window(), IDC_FONT_LIST);
        ASSERT_FALSE(FontList.empty());
        EXPECT_EQ(FontList[0], "SystemDefaultEUDCFont");
        ASSERT_EQ(::SendMessageA(list, LB_GETCOUNT, 0, 0), LRESULT(FontList.size()));
        for (size_t row = 0; row < FontList.size(); ++row) {
            char text[64] = {};
            ::SendMessageA(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
            EXPECT_EQ(text, FontList[row]) << "row " << row;
        }
        EXPECT_EQ(::SendMessageA(list, LB_GETCURSEL, 0, 0), 0);
        ::PostMessageA(Window(), WM_COMMAND, IDOK, 0);
    }});
    // The Big5 families of fonts-arphic-uming, once each, in the order Wine reports them,
    // although Wine reports each of them with eight character sets.
    CStringArray uming;
    std::copy_if(FontList.begin(), FontList.end(), std::back_inserter(uming),
                 [](const CString& font) { return font.starts_with("AR PL UMing"); });
    EXPECT_EQ(uming, (CStringArray{"AR PL UMing CN", "AR PL UMing TW", "AR PL UMing HK",
                                   "AR PL UMing TW MBE"}));
}

TEST_F(MainDialogTest, SystemCommands0x10To0x1FOpenTheAboutBoxAndNoOthers)
{
    std::vector<UINT> opened;
    std::vector<ScriptStep> steps;
    for (UINT id : {0x10u, 0x11u, 0x17u, 0x1Fu, 0x0Fu, 0x20u, 0x110u}) {
        steps.push_back([&, id] { ::PostMessageA(Window(), WM_SYSCOMMAND, id, 0); });
        steps.push_back([&, id] {
            // A modal loop may run this before it shows the box it has just created.
            if (const HWND about = TheAboutBox(Window(), false)) {
                opened.push_back(id);
                ::PostMessageA(about, WM_COMMAND, IDOK, 0);
            }
        });
    }
    steps.push_back([&] { ::PostMessageA(Window(), WM_COMMAND, IDCANCEL, 0); });
    RunModalScript(dialog, steps);
    EXPECT_EQ(opened, (std::vector<UINT>{0x10, 0x11, 0x17, 0x1F}));
}

TEST_F(MainDialogTest, AboutBoxShowsTodayCentredOnTheMainDialogAndCloses)
{
    HWND firstBox = nullptr;
    RunModalScript(dialog, {
        [&] {
            // Away from the middle, so that centring on it differs from centring on the screen.
            ::SetWindowPos(Window(), nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            Click(Window(), IDC_ABOUT);
        },
        [&] {
            const HWND about = TheAboutBox(Window());
            ASSERT_NE(about, nullptr);
            firstBox = about;
            EXPECT_EQ(WindowTextW(about), L"About veltrane");
            EXPECT_EQ(WindowTextA(::GetDlgItem(about, IDC_DATE)), FormatAboutDate(std::time(nullptr)));
            EXPECT_EQ(::GetFocus(), ::GetDlgItem(about, IDOK));
            EXPECT_FALSE(::IsWindowEnabled(Window()));
            RECT mainRect{};
            ::GetWindowRect(Window(), &mainRect);
            ExpectCentred(about, mainRect);
            PostKey(::GetFocus(), VK_ESCAPE);
        },
        [&] {
            EXPECT_FALSE(::IsWindow(firstBox));
            EXPECT_TRUE(::IsWindowEnabled(Window()));
            ::PostMessageA(Window(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        },
        [&] {
            const HWND about = TheAboutBox(Window());
            ASSERT_NE(about, nullptr);
            EXPECT_EQ(WindowTextA(::GetDlgItem(about, IDC_DATE)), FormatAboutDate(std::time(nullptr)));
            ::PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0);
        },
        [&] {
            EXPECT_EQ(TheAboutBox(Window()), nullptr);
            ::PostMessageA(Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
        },
    });
    EXPECT_NE(firstBox, nullptr);
}

TEST_F(MainDialogTest, AboutBoxOverTheMinimisedDialogIsCentredOnTheWorkArea)
{
    RunModalScript(dialog, {
        [&] { ::ShowWindow(Window(), SW_MINIMIZE); },
        RepeatUntil([&] { return ::IsIconic(Window()) != FALSE; }),
        [&] {
            EXPECT_TRUE(::IsIconic(Window()));
            ::PostMessageA(Window(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        },
        RepeatUntil([&] { return TheAboutBox(Window()) != nullptr; }),
        [&] {
            const HWND about = TheAboutBox(Window());
            ASSERT_NE(about, nullptr);
            ExpectCentred(about, WorkArea());
            ::PostMessageA(about, WM_COMMAND, IDCANCEL, 0);
        },
        [&] { ::PostMessageA(Window(), WM_COMMAND, IDCANCEL, 0); },
    });
}

TEST_F(MainDialogTest, DialogSurfaceStaticsAndButtonsAreGreyAndTheListKeepsItsColours)
{
    RunModalScript(dialog, {[&] {
        const HWND window = Window();
        const ClientDC client = GetClientDC(window);
        const HDC dc = client.get().dc;
        for (UINT message : {WM_CTLCOLORDLG, WM_CTLCOLORSTATIC, WM_CTLCOLORBTN}) {
            SCOPED_TRACE(message);
            ::SetBkColor(dc, RGB(1, 2, 3));
            ::SetTextColor(dc, RGB(4, 5, 6));
            const auto brush = reinterpret_cast<HBRUSH>(
                ::SendMessageA(window, message, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(::GetDlgItem(window, IDOK))));
            LOGBRUSH logBrush{};
            ASSERT_EQ(::GetObjectA(brush, sizeof logBrush, &logBrush), int(sizeof logBrush));
            EXPECT_EQ(logBrush.lbColor, RGB(192, 192, 192));
            EXPECT_EQ(::GetBkColor(dc), RGB(192, 192, 192));
            EXPECT_EQ(::GetTextColor(dc), RGB(0, 0, 0));
        }
        const auto listBrush = reinterpret_cast<HBRUSH>(::SendMessageA(
            window, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
            reinterpret_cast<LPARAM>(::GetDlgItem(window, IDC_FONT_LIST))));
        EXPECT_NE(listBrush, theApp.m_dialogs.colours.brush.get());
        ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    }});
}
