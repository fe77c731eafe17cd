// The grid of a font's characters, one drawing for both faces: the window's character
// view draws the rows it shows, `eudclink chart` every row, so that a cell of the picture
// is the window's cell at 96 DPI pixel for pixel.
#pragma once

#include <windows.h>

#include <span>

namespace chart {

inline constexpr int kColumns = 16;  // cells in a row

// A chart's sizes in pixels: a cell's side, its grid line included, and the em of the
// characters drawn in it.
struct Geometry {
    int cell = 36;
    int glyph = 28;

    int Width() const { return kColumns * cell; }
    // The cell of character `index` when the grid's row `topRow` is at the top.
    RECT CellRect(std::size_t index, int topRow) const;
};

// The sizes a picture is drawn at, and the screen's at 96 DPI.
inline constexpr Geometry kPrintedGeometry{};

// The screen's sizes at `dpi`, the grid line staying one pixel.
Geometry GeometryAt(int dpi);

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

}  // namespace chart

// Draws `rows` rows of the grid of `geometry` from row `firstRow` into `dc`, the row
// `topRow` at y = 0, each cell's character in `font` (the geometry's glyph), centred, in
// `colours`, the selected ones for the cell `selected` (none when out of range).
void DrawChartRows(HDC dc, HFONT font, const chart::Geometry& geometry, std::span<const char32_t> characters,
                   int topRow, int firstRow, int rows, std::size_t selected, const chart::Colours& colours);

// One character centred in `rect`, ink on paper, in a frame of the grid's line colour.
void DrawLargeCharacter(HDC dc, HFONT font, char32_t character, const RECT& rect, const chart::Colours& colours);
