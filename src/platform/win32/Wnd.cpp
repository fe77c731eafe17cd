#include "platform/win32/Wnd.h"

#include "platform/Centering.h"

RECT CWnd::GetClientRect() const
{
    RECT rect{};
    ::GetClientRect(m_hWnd, &rect);
    return rect;
}

RECT CWnd::GetWindowRect() const
{
    RECT rect{};
    ::GetWindowRect(m_hWnd, &rect);
    return rect;
}

void CWnd::ScreenToClient(RECT& rect) const
{
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
}

void CWnd::SetIcon(HICON icon, bool big) const
{
    SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

void CWnd::CenterWindow() const
{
    RECT workArea{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    RECT center = workArea;
    const HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner != nullptr && ::IsWindowVisible(owner) && !::IsIconic(owner))
        ::GetWindowRect(owner, &center);

    const RECT window = GetWindowRect();
    const auto bounds = [](const RECT& r) { return Bounds{r.left, r.top, r.right, r.bottom}; };
    const Position position = CenteredPosition(bounds(window), bounds(center), bounds(workArea));
    ::SetWindowPos(m_hWnd, nullptr, position.x, position.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
