// A row of the main window's font list as it should look, put together by hand from its
// parts, without the program's own drawing code: the reference that the Windows tests and
// the end-to-end tests compare the program's rows with.
#pragma once

#include <windows.h>

struct RowByHand {
    const char* name;  // as shown: the Chinese label for the system-wide default
    const char* link;  // the linked file's name, or the no-link text
    bool hasLink;      // without one, the link text is light grey
    UINT state = 0;    // ODS_SELECTED and ODS_FOCUS
    bool broken = false;  // a link that cannot work: its text is red
};

// Draws `row` on `dc` across `rect`, which has the list's font selected: cleared in the
// window's colour, `picture` at the top left without the colour of its own top-left pixel,
// the name 2 pixels after it and the link against the right edge, both from the row's top
// and drawn as they are (no "&" mnemonics), then the selection inverted and the focus
// dotted.
inline void DrawRowByHand(HDC dc, const RECT& rect, HBITMAP picture, const RowByHand& row)
{
    const HBRUSH window = ::CreateSolidBrush(::GetSysColor(COLOR_WINDOW));
    ::FillRect(dc, &rect, window);
    ::DeleteObject(window);

    BITMAP size{};
    ::GetObjectA(picture, sizeof size, &size);
    const HDC pictureDc = ::CreateCompatibleDC(dc);
    const HGDIOBJ kept = ::SelectObject(pictureDc, picture);
    const COLORREF transparent = ::GetPixel(pictureDc, 0, 0);
    for (int y = 0; y < size.bmHeight; ++y)
        for (int x = 0; x < size.bmWidth; ++x)
            if (const COLORREF pixel = ::GetPixel(pictureDc, x, y); pixel != transparent)
                ::SetPixel(dc, rect.left + x, rect.top + y, pixel);
    ::SelectObject(pictureDc, kept);
    ::DeleteDC(pictureDc);

    RECT text = rect;
    text.left += size.bmWidth + 2;
    const int mode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF colour = ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    ::DrawTextA(dc, row.name, -1, &text, DT_VCENTER | DT_NOPREFIX);
    if (!row.hasLink)
        ::SetTextColor(dc, RGB(192, 192, 192));
    if (row.broken)
        ::SetTextColor(dc, RGB(192, 0, 0));
    ::DrawTextA(dc, row.link, -1, &text, DT_RIGHT | DT_VCENTER | DT_NOPREFIX);
    ::SetTextColor(dc, colour);
    ::SetBkMode(dc, mode);

    if (row.state & ODS_SELECTED)
        ::InvertRect(dc, &rect);
    if (row.state & ODS_FOCUS)
        ::DrawFocusRect(dc, &rect);
}
