// The main dialog's owner-drawn rows: the item picture, the font's name, and its link
// against the right edge, "no assigned" in light grey, and a link that cannot work in red
// with the reason beside it; in the system's colours under high contrast.
#pragma once

#include <windows.h>

#include "model/FontLinks.h"
#include "platform/win32/DisplayScale.h"
#include "ui/MaskedBitmap.h"
#include "ui/Palette.h"
#include "ui/RowPicture.h"

// What a row says of its link besides the file's name.
// The reasons follow the file's name.
struct LinkWords {
    CString noLink;       // a font without a link
    CString missingFile;  // the linked file is not there
    CString notAFont;     // it is there and is no font
    CString badValue;     // the value names no file
};

class ListRows {
public:
    // Rows show `picture` and the rows of `links`, with `words` for what is not a working
    // link, at the scale `dpi`.
    ListRows(CMaskedBitmap& picture, int dpi, const FontLinks& links, const LinkWords& words, LeadByteTest isLeadByte)
        : m_picture(picture, dpi), m_nameGap(Scaled(kNameGap, dpi)), m_links(links), m_words(words),
          m_isLeadByte(isLeadByte)
    {
    }

    // Draws what the list asks for in one WM_DRAWITEM request, in `palette`.
    void Draw(const DRAWITEMSTRUCT& item, const Palette& palette);
    // Whether a row whose link goes from one state to the other must be drawn again: a
    // link not yet checked is drawn as one that works.
    static bool LooksDifferent(LinkState before, LinkState after);
    // What a screen reader says of the row: its name and what the row shows of its link.
    CString SpokenText(std::size_t row) const;

private:
    void DrawEntireRow(const DRAWITEMSTRUCT& item, const Palette& palette);
    void DrawLinkText(HDC dc, RECT& text, const LinkRow& row, const RowColours& colours) const;
    // The linked file's name, with the reason when the link cannot work, or the no-link text.
    CString GetLinkText(const LinkRow& row) const;

    // Between the item picture and the name, at 96 DPI.
    static constexpr int kNameGap = 2;

    RowPicture m_picture;
    int m_nameGap;
    const FontLinks& m_links;
    const LinkWords& m_words;
    LeadByteTest m_isLeadByte;
};
