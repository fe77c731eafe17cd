// The character view's grid: a control of its own window class, so that the dialog's
// template places it and the arrow keys reach it. It draws the rows it shows, and no
// more, from one picture of the page's size made when it is attached: scrolling through
// any number of characters costs no memory.
#pragma once

#include <windows.h>

#include <span>

#include "drawing/CharacterChart.h"
#include "platform/win32/UniqueHandle.h"

class CharacterGrid {
public:
    static constexpr char kClassName[] = "VeltraneCharacterGrid";
    // The notification code of the WM_COMMAND the grid sends its parent when the
    // selection moves.
    static constexpr WORD kSelectionChanged = 1;

    // Registers the window class in `instance`, once for the process.
    static void Register(HINSTANCE instance);

    // The grid draws its cells in `geometry` and asks `highContrast` whenever it paints.
    CharacterGrid(const chart::Geometry& geometry, bool (*highContrast)())
        : m_geometry(geometry), m_highContrast(highContrast)
    {
    }
    CharacterGrid(const CharacterGrid&) = delete;
    CharacterGrid& operator=(const CharacterGrid&) = delete;

    // Shows `characters`, which outlive the window, in `font` in the control `window`, and
    // sizes it to `rows` whole rows of the chart's width; the first character is selected.
    void Attach(HWND window, std::span<const char32_t> characters, HFONT font, int rows);

    const chart::Geometry& Geometry() const { return m_geometry; }
    std::size_t Selected() const { return m_selected; }
    int TopRow() const { return m_topRow; }
    // Selects the character at `index` (clamped to the characters), scrolled into view.
    void Select(std::size_t index);
    // Shows the row `row` at the top, as far as there are rows to show.
    void ScrollTo(int row);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    void OnPaint();
    // The rows that `area` touches, drawn into `dc`: the screen's, or a picture's
    // (WM_PRINTCLIENT).
    void Paint(HDC dc, const RECT& area);
    void OnKey(UINT key);
    void OnClick(LPARAM point);
    void OnScroll(WORD code);
    void Move(std::ptrdiff_t by);
    void InvalidateCell(std::size_t index) const;
    void CopySelected() const;
    int RowCount() const;

    chart::Geometry m_geometry;
    bool (*m_highContrast)();
    HWND m_window = nullptr;
    std::span<const char32_t> m_characters;
    HFONT m_font = nullptr;
    std::size_t m_selected = 0;
    int m_topRow = 0;
    int m_visibleRows = 1;
    int m_wheel = 0;  // wheel movement not yet scrolled, in WHEEL_DELTA units of 120

    // The page, drawn off screen and copied, so that a repaint never flickers.
    MemoryDC m_page;
    GdiObject<HBITMAP> m_pageBitmap;
    Selection m_pageSelection;
};
