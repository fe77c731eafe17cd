#include "ui/RowPicture.h"

void RowPicture::Draw(HDC dc, int x, int y, COLORREF background)
{
    if (!m_composed || background != m_background)
        Compose(dc, background);
    ::BitBlt(dc, x, y, GetWidth(), GetHeight(), m_composed.get(), 0, 0, SRCCOPY);
}

// Cleared as a row is, in bitmaps of the target's own kind, so that the background's
// pixels are those the row has; composed at the picture's own size, then stretched whole,
// pixel for pixel, so that the mask's edge stays where the picture's is.
void RowPicture::Compose(HDC dc, COLORREF background)
{
    const int width = m_picture.GetWidth();
    const int height = m_picture.GetHeight();
    const MemoryDC unscaled(::CreateCompatibleDC(dc));
    const GdiObject<HBITMAP> unscaledBitmap(::CreateCompatibleBitmap(dc, width, height));
    const Selection unscaledSelected = Select(unscaled.get(), unscaledBitmap.get());
    const RECT all{0, 0, width, height};
    ::SetBkColor(unscaled.get(), background);
    ::ExtTextOutA(unscaled.get(), 0, 0, ETO_OPAQUE, &all, "", 0, nullptr);
    m_picture.DrawTransparent(unscaled.get(), 0, 0);

    m_selected.reset();
    m_composed.reset(::CreateCompatibleDC(dc));
    m_bitmap.reset(::CreateCompatibleBitmap(dc, GetWidth(), GetHeight()));
    m_selected = Select(m_composed.get(), m_bitmap.get());
    ::SetStretchBltMode(m_composed.get(), COLORONCOLOR);
    ::StretchBlt(m_composed.get(), 0, 0, GetWidth(), GetHeight(), unscaled.get(), 0, 0, width, height, SRCCOPY);
    m_background = background;
}
