#include "ui/SunkenFrame.h"

namespace {

void Fill(HDC dc, COLORREF colour, const RECT& rect)
{
    ::SetBkColor(dc, colour);
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, "", 0, nullptr);
}

}  // namespace

void DrawSunkenFrame(const CDC& dc, const RECT& rect, const FrameColours& colours, int lineWidth)
{
    const auto [l, t, r, b] = rect;
    const int w = lineWidth;
    const HDC target = dc.GetSafeHdc();
    const COLORREF kept = ::GetBkColor(target);
    // The inner dark edge, its left side reaching into the bottom's light inner edge.
    Fill(target, colours.dark, {l - w, t - w, l, b + w});
    Fill(target, colours.dark, {l, t - w, r, t});
    // The outer shadow.
    Fill(target, colours.shadow, {l - 2 * w, t - 2 * w, l - w, b + 2 * w});
    Fill(target, colours.shadow, {l - w, t - 2 * w, r + w, t - w});
    // The outer highlight.
    Fill(target, colours.light, {r + w, t - 2 * w, r + 2 * w, b + w});
    Fill(target, colours.light, {l - w, b + w, r + 2 * w, b + 2 * w});
    ::SetBkColor(target, kept);
}
