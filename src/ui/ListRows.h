// The main dialog's owner-drawn rows: the item picture, the font's name, and its link
// against the right edge, "no assigned" in light grey.
#pragma once

#include <windows.h>

#include "model/FontLinks.h"
#include "ui/MaskedBitmap.h"
#include "ui/RowPicture.h"

class ListRows {
public:
    // Rows show `picture` and the rows of `links`; a row without a link shows `noLink`.
    ListRows(CMaskedBitmap& picture, const FontLinks& links, const CString& noLink, LeadByteTest isLeadByte)
        : m_picture(picture), m_links(links), m_noLink(noLink), m_isLeadByte(isLeadByte)
    {
    }

    // Draws what the list asks for in one WM_DRAWITEM request.
    void Draw(const DRAWITEMSTRUCT& item);

private:
    void DrawEntireRow(const DRAWITEMSTRUCT& item);
    void DrawLinkText(HDC dc, RECT& text, const LinkRow& row) const;
    // The linked file's name, or the no-link text.
    CString GetLinkText(const LinkRow& row) const;

    RowPicture m_picture;
    const FontLinks& m_links;
    const CString& m_noLink;
    LeadByteTest m_isLeadByte;
};
