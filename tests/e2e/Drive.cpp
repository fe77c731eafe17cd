// Drives the running VELTRANE.EXE from outside, as a user would, for the end-to-end
// tests:
//   drive wait-main [milliseconds]   waits for the main dialog; prints "x y width height"
//   drive close WAY                  closes it: close-button, enter, escape or close-box
// Exits with 1 when the window does not appear in time.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "resource.h"

namespace {

const wchar_t kMainCaption[] = L"Corvale Windows 95 外字集關聯程式 Version 1.0";

HWND WaitForMainDialog(DWORD milliseconds)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        const HWND window = ::FindWindowW(L"#32770", kMainCaption);
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
        std::fprintf(stderr, "usage: drive wait-main [ms] | drive close WAY\n");
        return 2;
    }
    const std::string command = argv[1];
    const DWORD timeout = command == "wait-main" && argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 20000;
    const HWND window = WaitForMainDialog(timeout);
    if (window == nullptr) {
        std::fprintf(stderr, "drive: the main dialog did not appear\n");
        return 1;
    }
    if (command == "wait-main") {
        RECT rect{};
        ::GetWindowRect(window, &rect);
        std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top);
        return 0;
    }
    if (command == "close" && argc > 2)
        return Close(window, argv[2]);
    std::fprintf(stderr, "drive: unknown command %s\n", command.c_str());
    return 2;
}
