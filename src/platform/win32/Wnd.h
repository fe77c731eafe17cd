// Thin wrappers of windows: a CWnd names a window it does not own.
#pragma once

#include <windows.h>

#include <map>
#include <memory>

#include "platform/Strings.h"

class CWnd {
public:
    CWnd() = default;
    explicit CWnd(HWND window) : m_hWnd(window) {}
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd() = default;

    // The control with this id, as a wrapper that belongs to this window; ask for an id
    // always with the same wrapper type.
    template <class Control = CWnd>
    Control* GetDlgItem(int id)
    {
        auto& control = m_controls[id];
        if (!control)
            control = std::make_unique<Control>();
        control->m_hWnd = ::GetDlgItem(m_hWnd, id);
        return static_cast<Control*>(control.get());
    }

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    void SetWindowText(const CString& text) const { ::SetWindowTextA(m_hWnd, text.c_str()); }
    bool IsIconic() const { return ::IsIconic(m_hWnd) != FALSE; }
    // The whole client area when no rectangle is given.
    void InvalidateRect(const RECT* rect, bool erase = true) const { ::InvalidateRect(m_hWnd, rect, erase); }
    RECT GetClientRect() const;
    RECT GetWindowRect() const;
    void ScreenToClient(RECT& rect) const;
    HMENU GetSystemMenu(bool revert) const { return ::GetSystemMenu(m_hWnd, revert); }
    void SetIcon(HICON icon, bool big) const;

    // Centres the window on its owner when that is visible and not minimised, else on
    // the work area, and keeps it inside the work area.
    void CenterWindow() const;

    HWND m_hWnd = nullptr;

private:
    std::map<int, std::unique_ptr<CWnd>> m_controls;
};
