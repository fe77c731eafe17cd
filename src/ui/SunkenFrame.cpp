#include "ui/SunkenFrame.h"

#include "platform/win32/UniqueHandle.h"

namespace {

// Two one-pixel lines of `colour`: from `start` to `corner`, then on to `end`, which is
// left out.
void DrawEdge(const CDC& dc, COLORREF colour, POINT start, POINT corner, POINT end)
{
    const GdiObject<HPEN> pen(::CreatePen(PS_SOLID, 1, colour));
    const Selection selected = Select(dc.GetSafeHdc(), pen.get());
    dc.MoveTo(start.x, start.y);
    dc.LineTo(corner.x, corner.y);
    dc.LineTo(end.x, end.y);
}

}  // namespace

void DrawSunkenFrame(const CDC& dc, const RECT& rect, const FrameColours& colours)
{
    const auto [l, t, r, b] = rect;
    const Selection brush = Select(dc.GetSafeHdc(), ::GetStockObject(NULL_BRUSH));
    // The inner dark edge.
    DrawEdge(dc, colours.dark, {l - 1, b}, {l - 1, t - 1}, {r, t - 1});
    // The outer shadow.
    DrawEdge(dc, colours.shadow, {l - 2, b + 1}, {l - 2, t - 2}, {r + 1, t - 2});
    // The outer highlight.
    DrawEdge(dc, colours.light, {r + 1, t - 2}, {r + 1, b + 1}, {l - 2, b + 1});
}
