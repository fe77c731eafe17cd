// Turns F1 in the program's dialogs, without Shift, Ctrl or Alt, into a help request for
// the window it was meant for, for as long as the filter exists. Dialog boxes run their
// own message loops, so the key is caught where they pass each message: a message filter.
#pragma once

#include <windows.h>

#include <functional>

class HelpKeyFilter {
public:
    // `onHelpKey` gets the window the key went to; false lets the key go on as it was.
    explicit HelpKeyFilter(std::function<bool(HWND window)> onHelpKey);
    ~HelpKeyFilter();
    HelpKeyFilter(const HelpKeyFilter&) = delete;
    HelpKeyFilter& operator=(const HelpKeyFilter&) = delete;

private:
    static LRESULT CALLBACK FilterProc(int code, WPARAM wParam, LPARAM lParam);

    std::function<bool(HWND window)> m_onHelpKey;
    HHOOK m_hook;
};
