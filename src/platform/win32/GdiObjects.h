// The drawing contexts that the framework's windows paint on. The owners of every other
// handle and selection are in UniqueHandle.h, included here for the headers that still
// take GdiObject from this one.
#pragma once

#include <windows.h>

#include "platform/win32/UniqueHandle.h"

// A drawing context that the caller does not own; CPaintDC owns the one it paints on.
class CDC {
public:
    explicit CDC(HDC dc) : m_hDC(dc) {}
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    void DrawIcon(int x, int y, HICON icon) const { ::DrawIcon(m_hDC, x, y, icon); }
    void MoveTo(int x, int y) const { ::MoveToEx(m_hDC, x, y, nullptr); }
    // Draws up to, not including, (x, y), which becomes the current position.
    void LineTo(int x, int y) const { ::LineTo(m_hDC, x, y); }

protected:
    HDC m_hDC;
};

// BeginPaint when constructed, EndPaint when destroyed.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(HWND window) : CDC(nullptr), m_window(window)
    {
        m_hDC = ::BeginPaint(window, &m_paint);
    }
    ~CPaintDC() { ::EndPaint(m_window, &m_paint); }

private:
    HWND m_window;
    PAINTSTRUCT m_paint{};
};
