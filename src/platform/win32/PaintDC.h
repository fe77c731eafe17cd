// The context a window paints on while it handles WM_PAINT.
#pragma once

#include <windows.h>

#include "platform/win32/DC.h"

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
