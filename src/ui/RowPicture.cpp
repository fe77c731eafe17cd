#include "ui/RowPicture.h"

void RowPicture::Draw(HDC dc, int x, int y, COLORREF background)
{
    if (!m_composed || background != m_background)
        Compose(dc, background);
    ::BitBlt(dc, x, y, m_picture.GetWidth(), m_picture.GetHeight(), m_composed.get(), 0, 0, SRCCOPY);
}

// Cleared as a row is, in a bitmap of the target's own kind, so that the background's
// pixels are those the row has.
void RowPicture::Compose(HDC dc, COLORREF background)
{
    m_selected.reset();
    m_composed.reset(::CreateCompatibleDC(dc));
    m_bitmap.reset(::CreateCompatibleBitmap(dc, m_picture.GetWidth(), m_picture.GetHeight()));
    m_selected = Select(m_composed.get(), m_bitmap.get());
    const RECT all{0, 0, m_picture.GetWidth(), m_picture.GetHeight()};
    ::SetBkColor(m_composed.get(), background);
    ::ExtTextOutA(m_composed.get(), 0, 0, ETO_OPAQUE, &all, "", 0, nullptr);
    m_picture.DrawTransparent(m_composed.get(), 0, 0);
    m_background = background;
}
