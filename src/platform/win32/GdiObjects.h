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

// The client area's context of a window, released when destroyed.
class CClientDC : public CDC {
public:
    explicit CClientDC(HWND window) : CDC(::GetDC(window)), m_window(window) {}
    ~CClientDC() { ::ReleaseDC(m_window, m_hDC); }

private:
    HWND m_window;
};

// A memory context compatible with another, deleted when destroyed.
class CMemoryDC : public CDC {
public:
    explicit CMemoryDC(HDC compatibleWith) : CDC(::CreateCompatibleDC(compatibleWith)) {}
    ~CMemoryDC() { ::DeleteDC(m_hDC); }
};

// An object selected into a context for the life of this owner; what it replaced goes
// back into the context when the owner ends.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(::SelectObject(dc, object)) {}
    ~SelectedObject() { ::SelectObject(m_dc, m_previous); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

    // Selects another object of the same kind; the one first replaced still goes back.
    void Replace(HGDIOBJ object) const { ::SelectObject(m_dc, object); }

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};
