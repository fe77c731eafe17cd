// Turns a key pressed in the program's dialogs into an action, for as long as the filter
// exists. Dialog boxes run their own message loops, which translate no accelerators, so
// the key is caught where they pass each message: a message filter. Filters may overlap
// and end in any order; the newest one that takes a key has it.
#pragma once

#include <windows.h>

#include <functional>

class DialogKeyFilter {
public:
    // `key` with exactly the modifiers `modifiers` (MOD_SHIFT, MOD_CONTROL, MOD_ALT, or 0)
    // down; `onKey` gets the window the key went to, and false lets the key go on.
    DialogKeyFilter(UINT key, UINT modifiers, std::function<bool(HWND window)> onKey);
    ~DialogKeyFilter();
    DialogKeyFilter(const DialogKeyFilter&) = delete;
    DialogKeyFilter& operator=(const DialogKeyFilter&) = delete;

private:
    static LRESULT CALLBACK FilterProc(int code, WPARAM wParam, LPARAM lParam);
    bool Takes(const MSG& message) const;

    UINT m_key;
    UINT m_modifiers;
    std::function<bool(HWND window)> m_onKey;
};
