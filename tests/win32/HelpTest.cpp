// F1 asks the help viewer for the topic of the dialog in front.
#include <gtest/gtest.h>

#include <memory>

#include "ModalScript.h"
#include "TestApp.h"
#include "platform/win32/DialogKeyFilter.h"
#include "resource.h"

namespace {

struct HelpRequest {
    HWND owner;
    CString file;
    UINT command;
    ULONG_PTR topic;
    bool operator==(const HelpRequest&) const = default;
};

std::vector<HelpRequest> requests;
BOOL viewerStarts = TRUE;

BOOL WINAPI RecordHelpRequest(HWND owner, LPCSTR file, UINT command, ULONG_PTR topic)
{
    requests.push_back({owner, file, command, topic});
    return viewerStarts;
}

void SetKeyDown(int key, bool down)
{
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[key] = down ? 0x80 : 0;
    ::SetKeyboardState(keys);
}

class HelpTest : public testing::Test {
protected:
    void SetUp() override
    {
        test.app.m_helpViewer = RecordHelpRequest;
        requests.clear();
        viewerStarts = TRUE;
    }
    HWND Window() const { return dialog.m_hWnd; }
    HelpRequest Expected(ULONG_PTR topic) const
    {
        return {Window(), test.app.m_helpFilePath, HELP_CONTEXT, topic};
    }

    TestApp test;
    const DialogKeyFilter helpKey{VK_F1, 0, [this](HWND window) { return test.app.OnHelp(window); }};
    CFontLinkDlg dialog = test.app.MainDialog();
};

}  // namespace

TEST(HelpFile, IsTheExecutablesPathWithTheExtensionHlp)
{
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    CString expected = path;
    expected.replace(expected.rfind('.'), CString::npos, ".HLP");
    const TestApp test;
    EXPECT_EQ(test.app.m_helpFilePath, expected);
    EXPECT_EQ(test.app.m_dialogs.appName, "veltrane_win_tests");
}

TEST_F(HelpTest, F1AsksForTheTopicOfTheDialogInFront)
{
    RunModalScript(dialog, {
        [&] { PostKey(::GetFocus(), VK_F1); },
        [&] {
            EXPECT_EQ(requests, std::vector<HelpRequest>{Expected(0x20066)});
            requests.clear();
            ::PostMessageA(Window(), WM_COMMAND, IDC_ABOUT, 0);
        },
        RepeatUntil("the About box to have the focus",
                    [&] { return ::GetWindow(::GetParent(::GetFocus()), GW_OWNER) == Window(); }),
        [&] { PostKey(::GetFocus(), VK_F1); },
        [&] {
            EXPECT_EQ(requests, std::vector<HelpRequest>{Expected(0x20064)});
            PostKey(::GetFocus(), VK_ESCAPE);
        },
        [&] { ::PostMessageA(Window(), WM_COMMAND, IDCANCEL, 0); },
    });
}

// F1 with a modifier asks for nothing, while F1 alone, pressed after them the same way,
// still asks.
TEST_F(HelpTest, F1WithShiftCtrlOrAltAsksForNothing)
{
    std::vector<ScriptStep> steps;
    for (int modifier : {VK_SHIFT, VK_CONTROL, VK_MENU}) {
        steps.push_back([=] {
            SetKeyDown(modifier, true);
            PostKey(::GetFocus(), VK_F1);
        });
        steps.push_back([=] {
            SetKeyDown(modifier, false);
            EXPECT_TRUE(requests.empty()) << "F1 with the key " << modifier;
        });
    }
    steps.push_back([&] { PostKey(::GetFocus(), VK_F1); });
    steps.push_back([&] {
        EXPECT_EQ(requests, std::vector<HelpRequest>{Expected(0x20066)});
        ::PostMessageA(Window(), WM_COMMAND, IDCANCEL, 0);
    });
    RunModalScript(dialog, steps);
}

TEST_F(HelpTest, AViewerThatCannotStartIsReported)
{
    viewerStarts = FALSE;
    CString text;
    CString caption;
    RunModalScript(dialog, {
        [&] { PostKey(::GetFocus(), VK_F1); },
        RepeatUntil("the message box", [&] { return !OwnedDialogs(Window()).empty(); }),
        [&] {
            const std::vector<HWND> boxes = OwnedDialogs(Window());
            ASSERT_EQ(boxes.size(), 1u);
            caption = WindowTextA(boxes[0]);
            text = WindowTextA(::GetDlgItem(boxes[0], 0xFFFF));  // the box's text
            ::PostMessageA(boxes[0], WM_COMMAND, IDOK, 0);
        },
        [&] { ::PostMessageA(Window(), WM_COMMAND, IDCANCEL, 0); },
    });
    EXPECT_EQ(requests.size(), 1u);
    EXPECT_EQ(text, "Failed to launch help.");
    EXPECT_EQ(caption, "veltrane_win_tests");
}

// Filters end in any order: when an older one ends, a newer one and the oldest, F1's,
// keep their keys.
TEST_F(HelpTest, FiltersEndInAnyOrder)
{
    std::vector<UINT> taken;
    const auto take = [&taken](UINT key) {
        return [&taken, key](HWND) {
            taken.push_back(key);
            return true;
        };
    };
    std::unique_ptr<DialogKeyFilter> newer;
    RunModalScript(dialog, {
        [&] {
            // Made after the dialog's own filter, which is made with its window.
            const DialogKeyFilter older(VK_F2, 0, take(VK_F2));
            newer = std::make_unique<DialogKeyFilter>(VK_F3, 0, take(VK_F3));
        },
        [&] {
            for (const UINT key : {VK_F2, VK_F3, VK_F1})
                PostKey(::GetFocus(), key);
        },
        [&] {
            EXPECT_EQ(taken, std::vector<UINT>{VK_F3});
            EXPECT_EQ(requests, std::vector<HelpRequest>{Expected(0x20066)});
            ::PostMessageA(Window(), WM_COMMAND, IDCANCEL, 0);
        },
    });
}
