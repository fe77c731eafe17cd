// Owners for drawing contexts and graphics objects: each releases what it holds when it
// goes out of scope, so no handler can leak one or leave one selected.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { ::DeleteObject(object); }
};

// An owned pen, brush or bitmap, deleted with DeleteObject.
template <class Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;

// A drawing context that the caller does not own; the derived classes do.
class CDC {
public:
    explicit CDC(HDC dc) : m_hDC(dc) {}
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    void DrawIcon(int x, int y, HICON icon) const { ::DrawIcon(m_hDC, x, y, icon); }

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

// The client area's context of a window, released when destroyed.
class CClientDC : public CDC {
public:
    explicit CClientDC(HWND window) : CDC(::GetDC(window)), m_window(window) {}
    ~CClientDC() { ::ReleaseDC(m_window, m_hDC); }

private:
    HWND m_window;
};
