// The picture at the left of every row, as a transparent draw leaves it over the row's
// cleared background: composed off screen by the masked bitmap, once for each background
// colour, then copied to each row in one piece, so that painting a row reads nothing back
// from the screen. Above 96 DPI each of its pixels becomes a block, as the text grows.
#pragma once

#include <windows.h>

#include "platform/win32/DisplayScale.h"
#include "platform/win32/UniqueHandle.h"
#include "ui/MaskedBitmap.h"

class RowPicture {
public:
    RowPicture(CMaskedBitmap& picture, int dpi) : m_picture(picture), m_dpi(dpi) {}

    // Draws the picture with its top-left corner at (x, y) of `dc`, where the target is
    // all of the colour `background`, as DrawTransparent would draw it there.
    void Draw(HDC dc, int x, int y, COLORREF background);
    int GetWidth() { return Scaled(m_picture.GetWidth(), m_dpi); }
    int GetHeight() { return Scaled(m_picture.GetHeight(), m_dpi); }

private:
    void Compose(HDC dc, COLORREF background);

    CMaskedBitmap& m_picture;
    int m_dpi;
    COLORREF m_background = CLR_INVALID;
    MemoryDC m_composed;
    GdiObject<HBITMAP> m_bitmap;
    Selection m_selected;  // m_bitmap in m_composed, put back before either goes
};
