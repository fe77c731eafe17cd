#include "ui/MaskedBitmap.h"

int CMaskedBitmap::GetWidth()
{
    if (m_nWidth == 0 || m_nHeight == 0)
        UpdateSize();
    return m_nWidth;
}

int CMaskedBitmap::GetHeight()
{
    if (m_nWidth == 0 || m_nHeight == 0)
        UpdateSize();
    return m_nHeight;
}

void CMaskedBitmap::UpdateSize()
{
    BITMAP info{};
    GetObject(sizeof info, &info);
    m_nWidth = info.bmWidth;
    m_nHeight = info.bmHeight;
}

void CMaskedBitmap::CreateMask(HDC dc)
{
    m_hMask.reset();
    const MemoryDC maskDC(::CreateCompatibleDC(dc));
    const MemoryDC imageDC(::CreateCompatibleDC(dc));
    m_hMask.reset(::CreateBitmap(GetWidth(), GetHeight(), 1, 1, nullptr));
    const Selection mask = Select(maskDC.get(), m_hMask.get());
    const Selection image = Select(imageDC.get(), GetSafeHandle());
    // Copied from colour to monochrome, the pixels of the background colour become 1.
    ::SetBkColor(imageDC.get(), ::GetPixel(imageDC.get(), 0, 0));
    ::BitBlt(maskDC.get(), 0, 0, GetWidth(), GetHeight(), imageDC.get(), 0, 0, SRCCOPY);
}

// The picture is put together off screen, so that the target is read once and written
// once and never shows a half-drawn image.
void CMaskedBitmap::DrawTransparent(HDC dc, int x, int y)
{
    if (!m_hMask)
        CreateMask(dc);
    const int width = GetWidth();
    const int height = GetHeight();

    const MemoryDC workDC(::CreateCompatibleDC(dc));
    const GdiObject<HBITMAP> workBitmap(::CreateBitmap(width, height,
                                                       static_cast<BYTE>(::GetDeviceCaps(dc, PLANES)),
                                                       static_cast<BYTE>(::GetDeviceCaps(dc, BITSPIXEL)), nullptr));
    const HDC work = workDC.get();
    const Selection workSelection = Select(work, workBitmap.get());
    ::BitBlt(work, 0, 0, width, height, dc, x, y, SRCCOPY);

    const MemoryDC imageDC(::CreateCompatibleDC(dc));
    const Selection image = Select(imageDC.get(), GetSafeHandle());
    const MemoryDC maskDC(::CreateCompatibleDC(dc));
    const Selection mask = Select(maskDC.get(), m_hMask.get());

    // The mask's 0 bits come in as the text colour, black, and its 1 bits as white.
    ::SetBkColor(work, RGB(255, 255, 255));
    ::BitBlt(work, 0, 0, width, height, imageDC.get(), 0, 0, SRCINVERT);  // target ^ image
    ::BitBlt(work, 0, 0, width, height, maskDC.get(), 0, 0, SRCAND);      // 0 where opaque
    ::BitBlt(work, 0, 0, width, height, imageDC.get(), 0, 0, SRCINVERT);  // image, or target again

    ::BitBlt(dc, x, y, width, height, work, 0, 0, SRCCOPY);
}

void CMaskedBitmap::Draw(HDC dc, int x, int y)
{
    const MemoryDC imageDC(::CreateCompatibleDC(dc));
    const Selection image = Select(imageDC.get(), GetSafeHandle());
    ::BitBlt(dc, x, y, GetWidth(), GetHeight(), imageDC.get(), 0, 0, SRCCOPY);
}
