#include "drawing/ChartPictures.h"

#include <windows.h>

#include "platform/win32/AnsiCodePage.h"
#include "drawing/CharacterChart.h"
#include "platform/win32/PngWriter.h"
#include "platform/win32/PrivateFont.h"
#include "platform/win32/UniqueHandle.h"

namespace {

// A top-down 24-bit picture in a memory context; its rows are padded to four bytes.
struct Picture {
    MemoryDC dc{::CreateCompatibleDC(nullptr)};
    GdiObject<HBITMAP> bitmap;
    void* bits = nullptr;
    int stride = 0;
};

bool MakePicture(int width, int height, Picture& picture)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    picture.bitmap.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &picture.bits, nullptr, 0));
    picture.stride = (width * 3 + 3) & ~3;
    return picture.dc && picture.bitmap;
}

}  // namespace

bool ChartPictures::DrawPng(const CString& font, const std::u16string& face, std::span<const char32_t> characters,
                            std::string& png)
{
    const PrivateFont loaded(ToWide(CodePageOf(m_codePages), font), face);
    const chart::Geometry& geometry = chart::kPrintedGeometry;
    const GdiObject<HFONT> glyphs = loaded.Create(geometry.glyph);
    const int rows = std::max(1, chart::RowsFor(characters.size()));
    Picture picture;
    if (!glyphs || !MakePicture(geometry.Width(), rows * geometry.cell, picture))
        return false;
    {
        const Selection canvas = Select(picture.dc.get(), picture.bitmap.get());
        DrawChartRows(picture.dc.get(), glyphs.get(), geometry, characters, 0, 0, rows, characters.size(),
                      chart::kPrinted);
    }
    ::GdiFlush();
    return EncodePng(picture.bits, geometry.Width(), rows * geometry.cell, picture.stride, png);
}
