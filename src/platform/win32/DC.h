// A drawing context, as the program's painting code draws on it.
#pragma once

#include <windows.h>

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
