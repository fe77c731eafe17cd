// The colours the main window and the character view draw in: the program's own, as it has
// always looked, or, while the user has high contrast on, the system's colours alone, so
// that the user's scheme decides every pixel.
#pragma once

#include <windows.h>

#include "drawing/CharacterChart.h"

// A row of the font list: its background, its text, a missing link's words and the file
// name of a link that cannot work.
struct RowColours {
    COLORREF paper;
    COLORREF ink;
    COLORREF noLinkInk;
    COLORREF problemInk;
};

// The sunken frame around the list, as a sunken edge: its inner dark line and outer
// shadow at the top and left, its outer highlight at the bottom and right.
struct FrameColours {
    COLORREF dark;
    COLORREF shadow;
    COLORREF light;
};

// Black, grey and white: the frame on the program's light grey dialog.
inline constexpr FrameColours kClassicFrame{RGB(0, 0, 0), RGB(128, 128, 128), RGB(255, 255, 255)};

class Palette {
public:
    explicit Palette(bool highContrast) : m_highContrast(highContrast) {}

    // Without high contrast a selected row is drawn as any row and then inverted, and
    // selection and focus changes toggle what is on screen; with it every row is drawn
    // whole, in the system's selection colours when selected.
    bool InvertsSelection() const { return !m_highContrast; }
    // A row whose list has set the colours in `dc`.
    RowColours Row(HDC dc, bool selected) const;
    FrameColours Frame() const;
    chart::Colours Chart() const;

private:
    bool m_highContrast;
};
