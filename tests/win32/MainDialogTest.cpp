// The main dialog as the user meets it, driven from inside its own modal loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "ModalScript.h"
#include "TestApp.h"
#include "platform/win32/UniqueHandle.h"
#include "resource.h"

namespace {

RECT WorkArea()
{
    RECT area{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

// Centred on `center`, the halves rounded toward zero; the dialogs here are small enough
// that the work area never moves them.
void ExpectCentred(HWND window, const RECT& center)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    const long width = rect.right - rect.left;
    const long height = rect.bottom - rect.top;
    EXPECT_EQ(rect.left, (center.left + center.right) / 2 - width / 2);
    EXPECT_EQ(rect.top, (center.top + center.bottom) / 2 - height / 2);
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

// Today's local date as the About box writes it, "%d年%d月%d日" in code page 950.
CString Today()
{
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    char text[64];
    ::wsprintfA(text, "%d\xA6\x7E%d\xA4\xEB%d\xA4\xE9", now.wYear, now.wMonth, now.wDay);
    return text;
}

// The date line of an About box opened between the two readings of the date: the day
// before midnight or the day after.
void ExpectDateOfToday(HWND about, const CString& before)
{
    const CString shown = WindowTextA(::GetDlgItem(about, IDC_DATE));
    if (shown != before) {
        EXPECT_EQ(shown, Today());
    }
}

// The rows of the list, as it holds their texts.
CStringArray RowTexts(HWND dialog)
{
    const HWND list = ::GetDlgItem(dialog, IDC_FONT_LIST);
    CStringArray rows;
    for (LRESULT row = 0; row < ::SendMessageA(list, LB_GETCOUNT, 0, 0); ++row) {
        CString text(::SendMessageA(list, LB_GETTEXTLEN, row, 0), '\0');
        ::SendMessageA(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()));
        rows.push_back(text);
    }
    return rows;
}

// Families in a fixed order, as a system could report them.
class ListedFonts : public FontSource {
public:
    explicit ListedFonts(std::vector<EnumeratedFont> families) : m_families(std::move(families)) {}
    void EnumerateFamilies(const FontVisitor& visit) override
    {
        for (const EnumeratedFont& family : m_families)
            visit(family);
    }
    void EnumerateFamily(const CString&, const FontVisitor&) override {}

private:
    std::vector<EnumeratedFont> m_families;
};

// The main dialog as the application makes it.
class MainDialogTest : public testing::Test {
protected:
    HWND Window() const { return dialog.m_hWnd; }

    TestApp test;
    CFontLinkDlg dialog = test.app.MainDialog();
};

}  // namespace

TEST_F(MainDialogTest, OpensCentredWithTheFocusOnCloseAndItsIconAndMenu)
{
    const INT_PTR result = RunModalScript(dialog, {[&] {
        const HWND window = Window();
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(window, IDOK));
        ExpectCentred(window, WorkArea());
        const auto icon = reinterpret_cast<HICON>(::SendMessageA(window, WM_GETICON, ICON_BIG, 0));
        EXPECT_EQ(icon, ::LoadIconA(test.app.m_dialogs.instance, MAKEINTRESOURCEA(IDR_MAINFRAME)));
        EXPECT_EQ(::SendMessageA(window, WM_QUERYDRAGICON, 0, 0), reinterpret_cast<LRESULT>(icon));

        const HMENU menu = ::GetSystemMenu(window, FALSE);
        const int count = ::GetMenuItemCount(menu);
        ASSERT_GE(count, 3);
        EXPECT_EQ(::GetMenuState(menu, count - 3, MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));
        EXPECT_EQ(::GetMenuItemID(menu, count - 2), UINT(IDM_CHARACTERS));
        EXPECT_EQ(::GetMenuItemID(menu, count - 1), UINT(IDM_ABOUTBOX));
        char entry[64] = {};
        ::GetMenuStringA(menu, count - 1, entry, sizeof entry, MF_BYPOSITION);
        EXPECT_STREQ(entry, "&About veltrane...");
        // "外字集字元(&E)...", with its shortcut
        ::GetMenuStringA(menu, count - 2, entry, sizeof entry, MF_BYPOSITION);
        EXPECT_STREQ(entry, "\xA5\x7E\xA6\x72\xB6\xB0\xA6\x72\xA4\xB8(&E)...\tCtrl+E");

        PostKey(::GetFocus(), VK_ESCAPE);
    }});
    EXPECT_EQ(result, IDCANCEL) << "Escape cancels the dialog";
}

// Row i is the font list's entry i: the list has LBS_SORT, and rows added to it would be
// sorted. The installed Big5 families of fonts-arphic-uming are listed once each, in the
// order Wine reports them, although it reports each with eight character sets.
TEST_F(MainDialogTest, ListsTheFontsInTheOrderReportedWithRowZeroSelected)
{
    ListedFonts fonts({{"Zhong", fonts::kBig5CharSet, fonts::kTrueType},
                       {"Latin", 0, fonts::kTrueType},
                       {"Alpha", fonts::kShiftJisCharSet, fonts::kTrueType},
                       {"Zhong", fonts::kBig5CharSet, fonts::kTrueType}});
    TestApp listed(&fonts);
    CFontLinkDlg ordered = listed.app.MainDialog();
    RunModalScript(ordered, {[&] {
        EXPECT_EQ(RowTexts(ordered.m_hWnd), (CStringArray{"SystemDefaultEUDCFont", "Zhong", "Alpha", "Zhong"}));
        EXPECT_EQ(::SendDlgItemMessageA(ordered.m_hWnd, IDC_FONT_LIST, LB_GETCURSEL, 0, 0), 0);
        PostKey(::GetFocus(), VK_RETURN);
    }});

    CStringArray uming;
    RunModalScript(dialog, {[&] {
        const CStringArray rows = RowTexts(Window());
        std::copy_if(rows.begin(), rows.end(), std::back_inserter(uming),
                     [](const CString& font) { return font.starts_with("AR PL UMing"); });
        PostKey(::GetFocus(), VK_RETURN);
    }});
    EXPECT_EQ(uming, (CStringArray{"AR PL UMing CN", "AR PL UMing TW", "AR PL UMing HK", "AR PL UMing TW MBE"}));
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
    CString dayBefore;
    RunModalScript(dialog, {
        [&] {
            // Away from the middle, so that centring on it differs from centring on the screen.
            ::SetWindowPos(Window(), nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            dayBefore = Today();
            Click(Window(), IDC_ABOUT);
        },
        RepeatUntil("the About box", [&] { return TheAboutBox(Window()) != nullptr; }),
        [&] {
            const HWND about = TheAboutBox(Window());
            ASSERT_NE(about, nullptr);
            firstBox = about;
            EXPECT_EQ(WindowTextW(about), L"About veltrane");
            ExpectDateOfToday(about, dayBefore);
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
            dayBefore = Today();
            ::PostMessageA(Window(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        },
        RepeatUntil("the About box", [&] { return TheAboutBox(Window()) != nullptr; }),
        [&] {
            const HWND about = TheAboutBox(Window());
            ASSERT_NE(about, nullptr);
            ExpectDateOfToday(about, dayBefore);
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
        RepeatUntil("the main dialog to be minimised", [&] { return ::IsIconic(Window()) != FALSE; }),
        [&] {
            EXPECT_TRUE(::IsIconic(Window()));
            ::PostMessageA(Window(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        },
        RepeatUntil("the About box", [&] { return TheAboutBox(Window()) != nullptr; }),
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
        EXPECT_NE(listBrush, test.app.m_dialogs.colours.brush.get());
        ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    }});
}
