#include "ui/CharacterGrid.h"

#include <algorithm>

#include "drawing/CharacterChart.h"
#include "ui/Palette.h"

namespace {

constexpr int kWheelRows = 3;
// Where the window keeps its grid object: the first of the class's extra bytes.
constexpr int kObjectSlot = 0;

bool IsKeyDown(int key)
{
    return ::GetKeyState(key) < 0;
}

// The clipboard, open while the object lives.
class ClipboardOpen {
public:
    explicit ClipboardOpen(HWND owner) : m_open(::OpenClipboard(owner) != FALSE) {}
    ~ClipboardOpen()
    {
        if (m_open)
            ::CloseClipboard();
    }
    ClipboardOpen(const ClipboardOpen&) = delete;
    ClipboardOpen& operator=(const ClipboardOpen&) = delete;
    bool IsOpen() const { return m_open; }

private:
    bool m_open;
};

using GlobalMemory = UniqueHandle<HGLOBAL, ::GlobalFree>;

}  // namespace

void CharacterGrid::Register(HINSTANCE instance)
{
    WNDCLASSA windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.cbWndExtra = sizeof(CharacterGrid*);  // its object; the user data is its owner's
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.lpszClassName = kClassName;
    ::RegisterClassA(&windowClass);  // fails, harmlessly, when it is registered already
}

void CharacterGrid::Attach(HWND window, std::span<const char32_t> characters, HFONT font, int rows)
{
    m_window = window;
    m_characters = characters;
    m_font = font;
    m_visibleRows = std::max(1, rows);
    ::SetWindowLongPtrA(window, kObjectSlot, reinterpret_cast<LONG_PTR>(this));

    // The client area holds exactly the chart's columns and the rows asked for.
    RECT frame{0, 0, m_geometry.Width(), m_visibleRows * m_geometry.cell};
    ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrA(window, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrA(window, GWL_EXSTYLE)));
    const int scrollBar = ::GetSystemMetrics(SM_CXVSCROLL);
    ::SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + scrollBar, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    // A picture independent of the screen, of the kind `eudclink chart` draws on.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = m_geometry.Width();
    info.bmiHeader.biHeight = -m_visibleRows * m_geometry.cell;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    m_pageSelection.reset();
    m_page.reset(::CreateCompatibleDC(nullptr));
    m_pageBitmap.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    m_pageSelection = ::Select(m_page.get(), m_pageBitmap.get());

    SCROLLINFO scroll{sizeof scroll, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0,
                      std::max(0, RowCount() - 1), static_cast<UINT>(m_visibleRows), 0, 0};
    ::SetScrollInfo(window, SB_VERT, &scroll, TRUE);
    m_selected = 0;
    m_topRow = 0;
    ::InvalidateRect(window, nullptr, FALSE);
}

int CharacterGrid::RowCount() const
{
    return chart::RowsFor(m_characters.size());
}

void CharacterGrid::ScrollTo(int row)
{
    row = std::clamp(row, 0, std::max(0, RowCount() - m_visibleRows));
    if (row == m_topRow)
        return;
    m_topRow = row;
    SCROLLINFO scroll{sizeof scroll, SIF_POS, 0, 0, 0, row, 0};
    ::SetScrollInfo(m_window, SB_VERT, &scroll, TRUE);
    ::InvalidateRect(m_window, nullptr, FALSE);
}

void CharacterGrid::Select(std::size_t index)
{
    if (m_characters.empty())
        return;
    index = std::min(index, m_characters.size() - 1);
    const int row = static_cast<int>(index / chart::kColumns);
    if (row < m_topRow)
        ScrollTo(row);
    else if (row >= m_topRow + m_visibleRows)
        ScrollTo(row - m_visibleRows + 1);
    if (index == m_selected)
        return;
    InvalidateCell(m_selected);
    m_selected = index;
    InvalidateCell(m_selected);
    ::SendMessageA(::GetParent(m_window), WM_COMMAND,
                   MAKEWPARAM(::GetDlgCtrlID(m_window), kSelectionChanged), reinterpret_cast<LPARAM>(m_window));
}

void CharacterGrid::InvalidateCell(std::size_t index) const
{
    const RECT cell = m_geometry.CellRect(index, m_topRow);
    ::InvalidateRect(m_window, &cell, FALSE);
}

LRESULT CALLBACK CharacterGrid::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* grid = reinterpret_cast<CharacterGrid*>(::GetWindowLongPtrA(window, kObjectSlot));
    if (grid == nullptr || message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(window, kObjectSlot, 0);
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    return grid->Handle(message, wParam, lParam);
}

LRESULT CharacterGrid::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_PRINTCLIENT: {
        const RECT client{0, 0, m_geometry.Width(), m_visibleRows * m_geometry.cell};
        Paint(reinterpret_cast<HDC>(wParam), client);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;  // the page covers the whole client area
    case WM_KEYDOWN:
        OnKey(static_cast<UINT>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnClick(lParam);
        return 0;
    case WM_VSCROLL:
        OnScroll(LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        m_wheel += GET_WHEEL_DELTA_WPARAM(wParam);
        ScrollTo(m_topRow - m_wheel / WHEEL_DELTA * kWheelRows);
        m_wheel %= WHEEL_DELTA;
        return 0;
    default:
        return ::DefWindowProcA(m_window, message, wParam, lParam);
    }
}

void CharacterGrid::OnPaint()
{
    PAINTSTRUCT paint{};
    const HDC dc = ::BeginPaint(m_window, &paint);
    Paint(dc, paint.rcPaint);
    ::EndPaint(m_window, &paint);
}

// Only the rows `area` touches are drawn, on the page, then copied.
void CharacterGrid::Paint(HDC dc, const RECT& area)
{
    const int first = std::max(0, static_cast<int>(area.top) / m_geometry.cell);
    const int last = std::min(m_visibleRows, static_cast<int>(area.bottom + m_geometry.cell - 1) / m_geometry.cell);
    if (last <= first)
        return;
    DrawChartRows(m_page.get(), m_font, m_geometry, m_characters, m_topRow, m_topRow + first, last - first, m_selected,
                  Palette(m_highContrast()).Chart());
    ::BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, m_page.get(), area.left,
             area.top, SRCCOPY);
}

void CharacterGrid::Move(std::ptrdiff_t by)
{
    if (m_characters.empty())
        return;
    const auto last = static_cast<std::ptrdiff_t>(m_characters.size()) - 1;
    Select(static_cast<std::size_t>(std::clamp(static_cast<std::ptrdiff_t>(m_selected) + by, std::ptrdiff_t{0}, last)));
}

void CharacterGrid::OnKey(UINT key)
{
    const std::ptrdiff_t page = static_cast<std::ptrdiff_t>(m_visibleRows) * chart::kColumns;
    const std::ptrdiff_t row = chart::kColumns;
    switch (key) {
    case VK_LEFT:
        Move(-1);
        break;
    case VK_RIGHT:
        Move(1);
        break;
    case VK_UP:
        if (m_selected >= static_cast<std::size_t>(row))
            Move(-row);
        break;
    case VK_DOWN:
        if (m_selected + row < m_characters.size())
            Move(row);
        break;
    case VK_PRIOR:
        Move(-page);
        break;
    case VK_NEXT:
        Move(page);
        break;
    case VK_HOME:
        Select(0);
        break;
    case VK_END:
        Select(m_characters.size());
        break;
    case 'C':
        if (IsKeyDown(VK_CONTROL) && !IsKeyDown(VK_MENU))
            CopySelected();
        break;
    default:
        break;
    }
}

void CharacterGrid::OnClick(LPARAM point)
{
    ::SetFocus(m_window);
    const int x = static_cast<short>(LOWORD(point));
    const int y = static_cast<short>(HIWORD(point));
    if (x < 0 || y < 0 || x >= m_geometry.Width())
        return;
    const auto row = static_cast<std::size_t>(m_topRow + y / m_geometry.cell);
    const std::size_t index = row * chart::kColumns + static_cast<std::size_t>(x / m_geometry.cell);
    if (index < m_characters.size())
        Select(index);
}

void CharacterGrid::OnScroll(WORD code)
{
    switch (code) {
    case SB_LINEUP:
        ScrollTo(m_topRow - 1);
        break;
    case SB_LINEDOWN:
        ScrollTo(m_topRow + 1);
        break;
    case SB_PAGEUP:
        ScrollTo(m_topRow - m_visibleRows);
        break;
    case SB_PAGEDOWN:
        ScrollTo(m_topRow + m_visibleRows);
        break;
    case SB_TOP:
        ScrollTo(0);
        break;
    case SB_BOTTOM:
        ScrollTo(RowCount());
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO scroll{sizeof scroll, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        ::GetScrollInfo(m_window, SB_VERT, &scroll);
        ScrollTo(scroll.nTrackPos);
        break;
    }
    default:
        break;
    }
}

// As Unicode text, the one character and its NUL, which the clipboard then owns.
void CharacterGrid::CopySelected() const
{
    if (m_selected >= m_characters.size())
        return;
    const ClipboardOpen clipboard(m_window);
    if (!clipboard.IsOpen())
        return;
    GlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, 2 * sizeof(wchar_t)));
    auto* text = memory ? static_cast<wchar_t*>(::GlobalLock(memory.get())) : nullptr;
    if (text == nullptr)
        return;
    text[0] = static_cast<wchar_t>(m_characters[m_selected]);
    text[1] = L'\0';
    ::GlobalUnlock(memory.get());
    ::EmptyClipboard();
    if (::SetClipboardData(CF_UNICODETEXT, memory.get()) != nullptr)
        memory.release();
}
