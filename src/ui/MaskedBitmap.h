// A bitmap that draws itself opaquely, or transparently: leaving out every pixel of the
// colour of its own top-left pixel, through a monochrome mask built on first use.
#pragma once

#include <windows.h>

#include "platform/win32/Bitmap.h"
#include "platform/win32/UniqueHandle.h"

class CMaskedBitmap : public CBitmap {
public:
    // The image's size, read on first use and kept.
    int GetWidth();
    int GetHeight();
    void UpdateSize();

    // Builds the mask again, in contexts compatible with `dc`: white where the image
    // has the colour of its pixel (0, 0), black elsewhere.
    void CreateMask(HDC dc);

    // With the image's top-left corner at (x, y) of the target.
    void DrawTransparent(HDC dc, int x, int y);
    void Draw(HDC dc, int x, int y);

private:
    int m_nWidth = 0;
    int m_nHeight = 0;
    GdiObject<HBITMAP> m_hMask;
};
