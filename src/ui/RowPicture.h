// The picture at the left of every row, as a transparent draw leaves it over the row's
// cleared background: composed off screen by the masked bitmap, once for each background
// colour, then copied to each row in one piece, so that painting a row reads nothing back
// from the screen.
#pragma once

#include <windows.h>

#include "platform/win32/UniqueHandle.h"
#include "ui/MaskedBitmap.h"

class RowPicture {
public:
    explicit RowPicture(CMaskedBitmap& picture) : m_picture(picture) {}

    // Draws the picture with its top-left corner at (x, y) of `dc`, where the target is
    // all of the colour `background`, as DrawTransparent would draw it there.
    void Draw(HDC dc, int x, int y, COLORREF background);
    int GetWidth() { return m_picture.GetWidth(); }

private:
    void Compose(HDC dc, COLORREF background);

    CMaskedBitmap& m_picture;
    COLORREF m_background = CLR_INVALID;
    MemoryDC m_composed;
    GdiObject<HBITMAP> m_bitmap;
    Selection m_selected;  // m_bitmap in m_composed, put back before either goes
};
