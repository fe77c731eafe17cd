// The grid of a font's characters, one drawing for both faces: the window's character
// view draws the rows it shows, `eudclink chart` every row, so that a cell of the picture
// is the window's cell pixel for pixel.
#pragma once

#include <windows.h>

#include <span>

namespace chart {

inline constexpr int kCell = 36;     // a cell's side in pixels, its grid line included
inline constexpr int kGlyph = 28;    // the em of the characters drawn in it
inline constexpr int kColumns = 16;  // cells in a row
inline constexpr int kWidth = kColumns * kCell;

inline constexpr COLORREF kPaper = RGB(255, 255, 255);
inline constexpr COLORREF kInk = RGB(0, 0, 0);
inline constexpr COLORREF kLine = RGB(192, 192, 192);
inline constexpr COLORREF kEmpty = RGB(192, 192, 192);  // past the last character

// What a chart is drawn in: its paper, its characters' ink, the grid's lines, the place of
// the cells past the last character, lines included, and the selected cell's paper and ink.
struct Colours {
    COLORREF paper;
    COLORREF ink;
    COLORREF line;
    COLORREF empty;
    COLORREF selectedPaper;
    COLORREF selectedInk;
};

// A picture's colours, whatever the screen's are. It shows no selection; one would be
// inverted.
inline constexpr Colours kPrinted{kPaper, kInk, kLine, kEmpty, kInk, kPaper};

inline int RowsFor(std::size_t characters)
{
    return static_cast<int>((characters + kColumns - 1) / kColumns);
}

// The cell of character `index` when the grid's row `topRow` is at the top.
RECT CellRect(std::size_t index, int topRow);

}  // namespace chart

// Draws `rows` rows of the grid from row `firstRow` into `dc`, the row `topRow` at y = 0,
// each cell's character in `font` (chart::kGlyph pixels), centred, in `colours`, the
// selected ones for the cell `selected` (none when out of range).
void DrawChartRows(HDC dc, HFONT font, std::span<const char32_t> characters, int topRow, int firstRow, int rows,
                   std::size_t selected, const chart::Colours& colours);

// One character centred in `rect`, ink on paper, in a frame of the grid's line colour.
void DrawLargeCharacter(HDC dc, HFONT font, char32_t character, const RECT& rect, const chart::Colours& colours);
