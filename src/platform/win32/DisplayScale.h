// The display's scale. The programs declare system DPI awareness in their manifest: each
// draws at the scale the system had when it started, 96 dots per inch at 100 percent,
// and Windows leaves its pixels alone.
#pragma once

#include <windows.h>

inline constexpr int kDefaultDpi = 96;

// The system's dots per inch, fixed for the process's life.
int SystemDpi();

// A length of `pixels` at 96 DPI, at `dpi`.
inline int Scaled(int pixels, int dpi)
{
    return ::MulDiv(pixels, dpi, kDefaultDpi);
}

// A line's width at `dpi` in whole pixels, never blurred between two: one pixel below
// twice the default scale, two from there.
inline int LineWidth(int dpi)
{
    return dpi / kDefaultDpi > 1 ? dpi / kDefaultDpi : 1;
}
