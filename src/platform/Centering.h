// Where a dialog goes when it centres itself, kept apart from the window calls so that
// the arithmetic can be checked on its own.
#pragma once

struct Bounds {
    long left, top, right, bottom;
};

struct Position {
    long x, y;
};

// The top-left corner for `window` (only its size counts) centred on `center` and kept
// inside `workArea`. Halves round toward zero. An edge before the work area's start is
// moved onto it; otherwise an edge past its end is moved back so that it ends there.
constexpr Position CenteredPosition(const Bounds& window, const Bounds& center,
                                    const Bounds& workArea)
{
    const long width = window.right - window.left;
    const long height = window.bottom - window.top;
    const auto place = [](long middle, long size, long areaStart, long areaEnd) {
        long start = middle - size / 2;
        if (start < areaStart)
            start = areaStart;
        else if (start + size > areaEnd)
            start = areaEnd - size;
        return start;
    };
    return {place((center.left + center.right) / 2, width, workArea.left, workArea.right),
            place((center.top + center.bottom) / 2, height, workArea.top, workArea.bottom)};
}
