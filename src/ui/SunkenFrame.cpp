#include "ui/SunkenFrame.h"

namespace {

GdiObject<HPEN> SolidPen(COLORREF colour)
{
    return GdiObject<HPEN>(::CreatePen(PS_SOLID, 1, colour));
}

}  // namespace

void DrawSunkenFrame(const CDC& dc, const RECT& rect)
{
    const auto [l, t, r, b] = rect;
    const GdiObject<HPEN> black = SolidPen(RGB(0, 0, 0));
    const GdiObject<HPEN> white = SolidPen(RGB(255, 255, 255));
    const GdiObject<HPEN> grey = SolidPen(RGB(128, 128, 128));
    const SelectedObject pen(dc.GetSafeHdc(), black.get());
    const SelectedObject brush(dc.GetSafeHdc(), ::GetStockObject(NULL_BRUSH));

    // The inner dark edge.
    dc.MoveTo(l - 1, b);
    dc.LineTo(l - 1, t - 1);
    dc.LineTo(r, t - 1);

    // The outer shadow.
    pen.Replace(grey.get());
    dc.MoveTo(l - 2, b + 1);
    dc.LineTo(l - 2, t - 2);
    dc.LineTo(r + 1, t - 2);

    // The outer highlight.
    pen.Replace(white.get());
    dc.MoveTo(r + 1, t - 2);
    dc.LineTo(r + 1, b + 1);
    dc.LineTo(l - 2, b + 1);
}
