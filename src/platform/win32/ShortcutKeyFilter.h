// Turns Ctrl and a key, pressed in a dialog or any of its controls, into a command of
// that dialog's system menu, for as long as the filter exists. Dialog boxes run their
// own message loops, which translate no accelerators, so the key is caught where they
// pass each message: a message filter, as for F1.
#pragma once

#include <windows.h>

class ShortcutKeyFilter {
public:
    // Ctrl+`key` in `dialog` posts it WM_SYSCOMMAND `command`.
    ShortcutKeyFilter(HWND dialog, UINT key, UINT command);
    ~ShortcutKeyFilter();
    ShortcutKeyFilter(const ShortcutKeyFilter&) = delete;
    ShortcutKeyFilter& operator=(const ShortcutKeyFilter&) = delete;

private:
    static LRESULT CALLBACK FilterProc(int code, WPARAM wParam, LPARAM lParam);

    HWND m_dialog;
    UINT m_key;
    UINT m_command;
    HHOOK m_hook;
};
