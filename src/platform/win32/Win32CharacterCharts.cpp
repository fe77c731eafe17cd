#include "platform/win32/Win32CharacterCharts.h"

#include <windows.h>

#include "platform/win32/AnsiCodePage.h"
#include "platform/win32/CharacterChart.h"
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

bool Win32CharacterCharts::DrawPng(const CString& font, const std::u16string& face,
                                   std::span<const char32_t> characters, std::string& png)
{
    const PrivateFont loaded(ToWide(CodePageOf(m_codePages), font), face);
    const GdiObject<HFONT> glyphs = loaded.Create(chart::kGlyph);
    const int rows = std::max(1, chart::RowsFor(characters.size()));
    Picture picture;
    if (!glyphs || !MakePicture(chart::kWidth, rows * chart::kCell, picture))
        return false;
    {
        const Selection canvas = Select(picture.dc.get(), picture.bitmap.get());
        DrawChartRows(picture.dc.get(), glyphs.get(), characters, 0, 0, rows, characters.size(), chart::kPrinted);
    }
    ::GdiFlush();
    return EncodePng(picture.bits, chart::kWidth, rows * chart::kCell, picture.stride, png);
}
