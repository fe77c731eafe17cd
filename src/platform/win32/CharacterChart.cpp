#include "platform/win32/CharacterChart.h"

#include "platform/win32/UniqueHandle.h"

namespace {

void Fill(HDC dc, const RECT& rect, COLORREF colour)
{
    ::SetBkColor(dc, colour);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

// The character centred in `rect`: by its advance across, by the font's line down.
void DrawCentred(HDC dc, char32_t character, const RECT& rect, COLORREF ink, COLORREF paper)
{
    const wchar_t text = static_cast<wchar_t>(character);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, &text, 1, &size);
    ::SetTextColor(dc, ink);
    ::SetBkColor(dc, paper);
    ::ExtTextOutW(dc, (rect.left + rect.right - size.cx) / 2, (rect.top + rect.bottom - size.cy) / 2,
                  ETO_OPAQUE | ETO_CLIPPED, &rect, &text, 1, nullptr);
}

}  // namespace

RECT chart::CellRect(std::size_t index, int topRow)
{
    const int column = static_cast<int>(index % kColumns);
    const int row = static_cast<int>(index / kColumns) - topRow;
    return {column * kCell, row * kCell, (column + 1) * kCell, (row + 1) * kCell};
}

void DrawChartRows(HDC dc, HFONT font, std::span<const char32_t> characters, int topRow, int firstRow, int rows,
                   std::size_t selected)
{
    const Selection fontSelected = Select(dc, font);
    const std::size_t first = static_cast<std::size_t>(firstRow) * chart::kColumns;
    const std::size_t end = first + static_cast<std::size_t>(rows) * chart::kColumns;
    // The grid line is each cell's right and bottom edge: the rows are filled with it once,
    // and each cell's inside drawn over it.
    const int top = (firstRow - topRow) * chart::kCell;
    Fill(dc, {0, top, chart::kWidth, top + rows * chart::kCell}, chart::kLine);
    for (std::size_t index = first; index < end; ++index) {
        const RECT cell = chart::CellRect(index, topRow);
        const RECT inside{cell.left, cell.top, cell.right - 1, cell.bottom - 1};
        if (index >= characters.size()) {
            Fill(dc, inside, chart::kEmpty);
        } else if (index == selected) {
            DrawCentred(dc, characters[index], inside, ::GetSysColor(COLOR_HIGHLIGHTTEXT),
                        ::GetSysColor(COLOR_HIGHLIGHT));
        } else {
            DrawCentred(dc, characters[index], inside, chart::kInk, chart::kPaper);
        }
    }
}

void DrawLargeCharacter(HDC dc, HFONT font, char32_t character, const RECT& rect)
{
    const Selection fontSelected = Select(dc, font);
    const GdiObject<HBRUSH> line(::CreateSolidBrush(chart::kLine));
    ::FrameRect(dc, &rect, line.get());
    const RECT inside{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
    DrawCentred(dc, character, inside, chart::kInk, chart::kPaper);
}
