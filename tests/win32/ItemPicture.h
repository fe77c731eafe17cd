// The item bitmap as a user sees it, row by row: R red (the colour left out when drawn
// transparently), G grey, B blue.
#pragma once

#include <windows.h>

inline constexpr int kItemWidth = 19;
inline constexpr int kItemHeight = 12;

inline constexpr const char* kItemRows[kItemHeight] = {
    "RRRGGGGGGGGRRRRRRRR", "RRRGGRGGRGGRRRRRRRR", "RRRGRRGGRRGRRRRRRRR",
    "RRRGRRGBBBBBBBBRRRR", "RRRRRRGBBRBBRBBRRRR", "RRRRRRGBRRBBRRBRRRR",
    "RRRRRRGBRRBBRRBRRRR", "RRRRRRGGRRBBRRRRRRR", "RRRRGGGGGGBBRRRRRRR",
    "RRRRRRRRRRBBRRRRRRR", "RRRRRRRRRRBBRRRRRRR", "RRRRRRRRBBBBBBRRRRR",
};

inline COLORREF ItemColour(char letter)
{
    return letter == 'R' ? RGB(255, 0, 0) : letter == 'G' ? RGB(128, 128, 128) : RGB(0, 0, 255);
}
