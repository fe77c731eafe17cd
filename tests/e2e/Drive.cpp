// Drives the running VELTRANE.EXE from outside, as a user would, for the end-to-end
// tests:
//   drive wait-main [milliseconds]   waits for the main dialog; prints "x y width height"
//   drive close WAY                  closes it: close-button, enter, escape or close-box
//   drive press ID                   presses the dialog's button with that control id
//   drive click-row ROW              clicks the list's row
//   drive double-click-row ROW       double-clicks it
//   drive unselect                   leaves the list without a selected row
//   drive row-rect ROW               prints the row's "x y width height" on the screen
//   drive list-rect                  prints the list's "x y width height" on the screen
//   drive key KEY                    presses up, down, home or end where the focus is
//   drive minimize | restore         minimises or restores the main dialog
//   drive choose-file PATH           types PATH into the open-file dialog and presses OK
//   drive cancel-file                presses Cancel in the open-file dialog
//   drive no-file-dialog MS          fails if an open-file dialog opens within MS
// Exits with 1 when a window does not appear in time, or appears when it should not.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "resource.h"

namespace {

const wchar_t kMainCaption[] = L"Corvale Windows 95 外字集關聯程式 Version 1.0";
const wchar_t kFileDialogTitle[] = L"選擇外字集檔案";
// The older open-file dialog's file-name box.
constexpr int kFileNameBox = 0x480;

HWND WaitForDialog(const wchar_t* caption, DWORD milliseconds)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        const HWND window = ::FindWindowW(L"#32770", caption);
        if (window != nullptr && ::IsWindowVisible(window))
            return window;
        if (::GetTickCount() - start > milliseconds)
            return nullptr;
        ::Sleep(50);
    }
}

HWND FocusOf(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

void PressKey(HWND window, UINT key)
{
    const HWND focus = FocusOf(window);
    ::PostMessageW(focus, WM_KEYDOWN, key, 1);
    ::PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
}

// Waits until the window is gone; false when it stays.
bool WaitUntilClosed(HWND window)
{
    for (int i = 0; i < 200 && ::IsWindow(window); ++i)
        ::Sleep(50);
    return !::IsWindow(window);
}

// The row's rectangle in the list's client coordinates, from messages that carry no
// pointer, so that they cross from process to process unchanged.
RECT RowRect(HWND list, int row)
{
    RECT client{};
    ::GetClientRect(list, &client);
    const auto height = static_cast<int>(::SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    const auto top = static_cast<int>(::SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    return {0, (row - top) * height, client.right, (row - top + 1) * height};
}

// Sent rather than posted, so that the click is over when the command ends.
void ClickRow(HWND list, int row, bool twice)
{
    const RECT rect = RowRect(list, row);
    const LPARAM where = MAKELPARAM(rect.right / 2, (rect.top + rect.bottom) / 2);
    ::SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, where);
    ::SendMessageW(list, WM_LBUTTONUP, 0, where);
    if (twice) {
        // The double-click opens the open-file dialog: post it, or this would wait for it.
        ::PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, where);
        ::PostMessageW(list, WM_LBUTTONUP, 0, where);
    }
}

int PrintRowRect(HWND list, int row)
{
    const RECT rect = RowRect(list, row);
    POINT corner{rect.left, rect.top};
    ::ClientToScreen(list, &corner);
    std::printf("%ld %ld %ld %ld\n", corner.x, corner.y, rect.right - rect.left, rect.bottom - rect.top);
    return 0;
}

int PrintWindowRect(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    return 0;
}

int PressNamedKey(HWND window, const std::string& name)
{
    const std::pair<const char*, UINT> keys[] = {{"up", VK_UP}, {"down", VK_DOWN}, {"home", VK_HOME}, {"end", VK_END}};
    for (const auto& [keyName, key] : keys) {
        if (name == keyName) {
            PressKey(window, key);
            return 0;
        }
    }
    std::fprintf(stderr, "drive: unknown key: %s\n", name.c_str());
    return 2;
}

int AnswerFileDialog(const wchar_t* path)
{
    const HWND dialog = WaitForDialog(kFileDialogTitle, 20000);
    if (dialog == nullptr) {
        std::fprintf(stderr, "drive: the open-file dialog did not appear\n");
        return 1;
    }
    if (path != nullptr)
        ::SendMessageW(::GetDlgItem(dialog, kFileNameBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path));
    ::PostMessageW(::GetDlgItem(dialog, path != nullptr ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
    if (!WaitUntilClosed(dialog)) {
        std::fprintf(stderr, "drive: the open-file dialog stayed open\n");
        return 1;
    }
    return 0;
}

int Close(HWND window, const std::string& way)
{
    if (way == "close-button")
        ::PostMessageW(::GetDlgItem(window, IDOK), BM_CLICK, 0, 0);
    else if (way == "enter")
        PressKey(window, VK_RETURN);
    else if (way == "escape")
        PressKey(window, VK_ESCAPE);
    else if (way == "close-box")
        ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    else {
        std::fprintf(stderr, "drive: unknown way to close: %s\n", way.c_str());
        return 2;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: drive COMMAND [ARGUMENT]; the commands are listed in Drive.cpp\n");
        return 2;
    }
    const std::string command = argv[1];
    const DWORD timeout = command == "wait-main" && argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 20000;
    const HWND window = WaitForDialog(kMainCaption, timeout);
    if (window == nullptr) {
        std::fprintf(stderr, "drive: the main dialog did not appear\n");
        return 1;
    }
    if (command == "wait-main")
        return PrintWindowRect(window);
    const HWND list = ::GetDlgItem(window, IDC_FONT_LIST);
    const char* argument = argc > 2 ? argv[2] : nullptr;
    if (command == "close" && argument)
        return Close(window, argument);
    if (command == "press" && argument) {
        ::PostMessageW(::GetDlgItem(window, std::atoi(argument)), BM_CLICK, 0, 0);
        return 0;
    }
    if ((command == "click-row" || command == "double-click-row") && argument) {
        ClickRow(list, std::atoi(argument), command == "double-click-row");
        return 0;
    }
    if (command == "unselect") {
        ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        return 0;
    }
    if (command == "row-rect" && argument)
        return PrintRowRect(list, std::atoi(argument));
    if (command == "list-rect")
        return PrintWindowRect(list);
    if (command == "key" && argument)
        return PressNamedKey(window, argument);
    if (command == "minimize" || command == "restore") {
        ::PostMessageW(window, WM_SYSCOMMAND, command == "minimize" ? SC_MINIMIZE : SC_RESTORE, 0);
        return 0;
    }
    if (command == "choose-file" && argument) {
        wchar_t path[MAX_PATH] = {};
        ::MultiByteToWideChar(CP_UTF8, 0, argument, -1, path, MAX_PATH);
        return AnswerFileDialog(path);
    }
    if (command == "cancel-file")
        return AnswerFileDialog(nullptr);
    if (command == "no-file-dialog" && argument) {
        if (WaitForDialog(kFileDialogTitle, std::strtoul(argument, nullptr, 10)) == nullptr)
            return 0;
        std::fprintf(stderr, "drive: an open-file dialog opened\n");
        return 1;
    }
    std::fprintf(stderr, "drive: unknown command %s\n", command.c_str());
    return 2;
}
