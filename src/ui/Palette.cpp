#include "ui/Palette.h"

namespace {

// The light grey of a row without a link.
constexpr COLORREF kNoLinkColour = RGB(192, 192, 192);
// The red of a link that cannot work. Under high contrast its words alone tell it apart.
constexpr COLORREF kProblemColour = RGB(192, 0, 0);

}  // namespace

RowColours Palette::Row(HDC dc, bool selected) const
{
    if (!m_highContrast)
        return {::GetBkColor(dc), ::GetTextColor(dc), kNoLinkColour, kProblemColour};
    if (selected) {
        const COLORREF ink = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
        return {::GetSysColor(COLOR_HIGHLIGHT), ink, ink, ink};
    }
    const COLORREF ink = ::GetSysColor(COLOR_WINDOWTEXT);
    return {::GetSysColor(COLOR_WINDOW), ink, ::GetSysColor(COLOR_GRAYTEXT), ink};
}

FrameColours Palette::Frame() const
{
    if (!m_highContrast)
        return kClassicFrame;
    return {::GetSysColor(COLOR_3DDKSHADOW), ::GetSysColor(COLOR_3DSHADOW), ::GetSysColor(COLOR_3DHILIGHT)};
}

// The screen shows the selection in the system's colours either way. Past the last
// character the chart shows the dialog's surface, as the program's own grey does.
chart::Colours Palette::Chart() const
{
    const COLORREF selectedPaper = ::GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF selectedInk = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    if (!m_highContrast)
        return {chart::kPaper, chart::kInk, chart::kLine, chart::kEmpty, selectedPaper, selectedInk};
    return {::GetSysColor(COLOR_WINDOW), ::GetSysColor(COLOR_WINDOWTEXT), ::GetSysColor(COLOR_GRAYTEXT),
            ::GetSysColor(COLOR_3DFACE), selectedPaper, selectedInk};
}
