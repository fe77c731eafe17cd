#include "ui/ListRows.h"

#include "model/FontList.h"

namespace {

// "系統預設外字集" (system default EUDC) in code page 950: the name row 0 shows.
constexpr char kSystemDefaultLabel[] = "\xA8\x74\xB2\xCE\xB9\x77\xB3\x5D\xA5\x7E\xA6\x72\xB6\xB0";

// Between the item picture and the name.
constexpr int kNameGap = 2;

constexpr UINT kTextFormat = DT_VCENTER | DT_NOPREFIX;

}  // namespace

// Selection and focus changes arrive as their own requests and are drawn by
// exclusive-or, so each one toggles what a full draw left.
void ListRows::Draw(const DRAWITEMSTRUCT& item)
{
    switch (item.itemAction) {
    case ODA_DRAWENTIRE:
        DrawEntireRow(item);
        break;
    case ODA_SELECT:
        ::InvertRect(item.hDC, &item.rcItem);
        break;
    case ODA_FOCUS:
        ::DrawFocusRect(item.hDC, &item.rcItem);
        break;
    }
}

void ListRows::DrawEntireRow(const DRAWITEMSTRUCT& item)
{
    // Rows are the font list, entry for entry; an empty list asks for row -1.
    if (item.itemID >= FontList.size())
        return;
    const HDC dc = item.hDC;
    const RECT& row = item.rcItem;

    // Cleared in the background colour that the list has set up.
    RECT text = row;
    ::ExtTextOutA(dc, text.left, text.top, ETO_OPAQUE, &text, "", 0, nullptr);
    m_picture.DrawTransparent(dc, row.left, row.top);

    // Without DT_SINGLELINE both texts start at the row's top. Names and paths are drawn
    // as they are: an "&" in them is no mnemonic.
    text.left = row.left + m_picture.GetWidth() + kNameGap;
    const CString& name = item.itemID == 0 ? CString(kSystemDefaultLabel) : FontList[item.itemID];
    ::DrawTextA(dc, name.c_str(), -1, &text, kTextFormat);
    DrawLinkText(dc, text, m_links.GetLinkText(static_cast<int>(item.itemID)));

    if (item.itemState & ODS_SELECTED)
        ::InvertRect(dc, &row);
    if (item.itemState & ODS_FOCUS)
        ::DrawFocusRect(dc, &row);
}

// Against the right edge; a row without a link says so in light grey.
void ListRows::DrawLinkText(HDC dc, RECT& text, const CString& linkText) const
{
    if (linkText == m_noLink) {
        const COLORREF kept = ::SetTextColor(dc, RGB(192, 192, 192));
        ::DrawTextA(dc, linkText.c_str(), -1, &text, kTextFormat | DT_RIGHT);
        ::SetTextColor(dc, kept);
    } else {
        ::DrawTextA(dc, linkText.c_str(), -1, &text, kTextFormat | DT_RIGHT);
    }
}
