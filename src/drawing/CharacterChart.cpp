#include "drawing/CharacterChart.h"

#include <algorithm>

#include "platform/win32/DisplayScale.h"
#include "platform/win32/UniqueHandle.h"

namespace {

void Fill(HDC dc, const RECT& rect, COLORREF colour)
{
    ::SetBkColor(dc, colour);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

// The character centred in `rect`: by its advance across, by the font's line down.
void DrawCentred(HDC dc, char32_t character, int advance, int lineHeight, const RECT& rect, COLORREF ink,
                 COLORREF paper)
{
    const wchar_t text = static_cast<wchar_t>(character);
    ::SetTextColor(dc, ink);
    ::SetBkColor(dc, paper);
    ::ExtTextOutW(dc, (rect.left + rect.right - advance) / 2, (rect.top + rect.bottom - lineHeight) / 2,
                  ETO_OPAQUE | ETO_CLIPPED, &rect, &text, 1, nullptr);
}

int LineHeight(HDC dc)
{
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    return metrics.tmHeight;
}

// The advances of up to a row's characters, asked for in one call rather than one each:
// a page then costs the platform half the calls.
void Advances(HDC dc, std::span<const char32_t> characters, int (&advances)[chart::kColumns])
{
    wchar_t text[chart::kColumns] = {};
    int ends[chart::kColumns] = {};
    const int count = static_cast<int>(std::min<std::size_t>(characters.size(), chart::kColumns));
    for (int i = 0; i < count; ++i)
        text[i] = static_cast<wchar_t>(characters[static_cast<std::size_t>(i)]);
    SIZE size{};
    ::GetTextExtentExPointW(dc, text, count, 0, nullptr, ends, &size);
    for (int i = 0; i < count; ++i)
        advances[i] = ends[i] - (i > 0 ? ends[i - 1] : 0);
}

}  // namespace

RECT chart::Geometry::CellRect(std::size_t index, int topRow) const
{
    const int column = static_cast<int>(index % kColumns);
    const int row = static_cast<int>(index / kColumns) - topRow;
    return {column * cell, row * cell, (column + 1) * cell, (row + 1) * cell};
}

chart::Geometry chart::GeometryAt(int dpi)
{
    return {Scaled(kPrintedGeometry.cell, dpi), Scaled(kPrintedGeometry.glyph, dpi)};
}

void DrawChartRows(HDC dc, HFONT font, const chart::Geometry& geometry, std::span<const char32_t> characters,
                   int topRow, int firstRow, int rows, std::size_t selected, const chart::Colours& colours)
{
    const Selection fontSelected = Select(dc, font);
    const std::size_t first = static_cast<std::size_t>(firstRow) * chart::kColumns;
    const std::size_t end = first + static_cast<std::size_t>(rows) * chart::kColumns;
    // The grid line is each cell's right and bottom edge: the rows are filled with it once,
    // and each cell's inside drawn over it.
    const int top = (firstRow - topRow) * geometry.cell;
    Fill(dc, {0, top, geometry.Width(), top + rows * geometry.cell}, colours.line);
    const int lineHeight = LineHeight(dc);
    int advances[chart::kColumns] = {};
    for (std::size_t index = first; index < end; ++index) {
        const std::size_t column = index % chart::kColumns;
        if (column == 0 && index < characters.size())
            Advances(dc, characters.subspan(index), advances);
        const RECT cell = geometry.CellRect(index, topRow);
        const RECT inside{cell.left, cell.top, cell.right - 1, cell.bottom - 1};
        if (index >= characters.size()) {
            Fill(dc, cell, colours.empty);  // its lines too: no cell is there
        } else if (index == selected) {
            DrawCentred(dc, characters[index], advances[column], lineHeight, inside,
                        colours.selectedInk, colours.selectedPaper);
        } else {
            DrawCentred(dc, characters[index], advances[column], lineHeight, inside, colours.ink, colours.paper);
        }
    }
}

void DrawLargeCharacter(HDC dc, HFONT font, char32_t character, const RECT& rect, const chart::Colours& colours)
{
    const Selection fontSelected = Select(dc, font);
    const GdiObject<HBRUSH> line(::CreateSolidBrush(colours.line));
    ::FrameRect(dc, &rect, line.get());
    const RECT inside{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
    int advances[chart::kColumns] = {};
    Advances(dc, std::span<const char32_t>(&character, 1), advances);
    DrawCentred(dc, character, advances[0], LineHeight(dc), inside, colours.ink, colours.paper);
}
