// Where the minimised main dialog draws its icon.
#pragma once

struct IconOrigin {
    int x, y;
};

// Centres an icon of cx by cy in a client area of width by height. The halving rounds
// toward zero, so a client area 32 pixels narrower than the icon gives -15, not -16.
constexpr IconOrigin CenteredIconOrigin(int width, int height, int cx, int cy)
{
    return {(width - cx + 1) / 2, (height - cy + 1) / 2};
}
