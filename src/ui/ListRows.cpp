#include "ui/ListRows.h"

#include "model/EudcPath.h"

namespace {

// "系統預設外字集" (system default EUDC) in code page 950: the name row 0 shows.
constexpr char kSystemDefaultLabel[] = "\xA8\x74\xB2\xCE\xB9\x77\xB3\x5D\xA5\x7E\xA6\x72\xB6\xB0";

// Between the item picture and the name.
constexpr int kNameGap = 2;

constexpr UINT kTextFormat = DT_VCENTER | DT_NOPREFIX;

// The light grey of a row without a link.
constexpr COLORREF kNoLinkColour = RGB(192, 192, 192);
// The red of a link that cannot work.
constexpr COLORREF kProblemColour = RGB(192, 0, 0);

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
    // An empty list asks for row -1.
    const std::span<const LinkRow> rows = m_links.Rows();
    if (item.itemID >= rows.size())
        return;
    const LinkRow& link = rows[item.itemID];
    const HDC dc = item.hDC;
    const RECT& row = item.rcItem;

    // Cleared in the background colour that the list has set up.
    RECT text = row;
    ::ExtTextOutA(dc, text.left, text.top, ETO_OPAQUE, &text, "", 0, nullptr);
    m_picture.Draw(dc, row.left, row.top, ::GetBkColor(dc));

    // Without DT_SINGLELINE both texts start at the row's top. Names and paths are drawn
    // as they are: an "&" in them is no mnemonic.
    text.left = row.left + m_picture.GetWidth() + kNameGap;
    const CString& name = link.kind == NameKind::Default ? CString(kSystemDefaultLabel) : link.name;
    ::DrawTextA(dc, name.c_str(), -1, &text, kTextFormat);
    DrawLinkText(dc, text, link);

    if (item.itemState & ODS_SELECTED)
        ::InvertRect(dc, &row);
    if (item.itemState & ODS_FOCUS)
        ::DrawFocusRect(dc, &row);
}

// Against the right edge, in the list's colour for a link that works or is not yet
// checked, light grey for none, red for one that cannot work.
void ListRows::DrawLinkText(HDC dc, RECT& text, const LinkRow& row) const
{
    const CString linkText = GetLinkText(row);
    if (row.hasLink && !IsProblem(row.state)) {
        ::DrawTextA(dc, linkText.c_str(), -1, &text, kTextFormat | DT_RIGHT);
        return;
    }
    const COLORREF kept = ::SetTextColor(dc, row.hasLink ? kProblemColour : kNoLinkColour);
    ::DrawTextA(dc, linkText.c_str(), -1, &text, kTextFormat | DT_RIGHT);
    ::SetTextColor(dc, kept);
}

bool ListRows::LooksDifferent(LinkState before, LinkState after)
{
    const auto works = [](LinkState state) { return state == LinkState::Unchecked || state == LinkState::Linked; };
    return before != after && !(works(before) && works(after));
}

CString ListRows::GetLinkText(const LinkRow& row) const
{
    if (!row.hasLink)
        return m_words.noLink;
    const CString file = LinkFileName(row.text, m_isLeadByte);
    switch (row.state) {
    case LinkState::MissingFile: return file + m_words.missingFile;
    case LinkState::NotAFont: return file + m_words.notAFont;
    case LinkState::BadValue: return file + m_words.badValue;
    default: return file;
    }
}

CString ListRows::SpokenText(std::size_t row) const
{
    const std::span<const LinkRow> rows = m_links.Rows();
    if (row >= rows.size())
        return {};
    const LinkRow& link = rows[row];
    const CString name = link.kind == NameKind::Default ? CString(kSystemDefaultLabel) : link.name;
    return name + ", " + GetLinkText(link);
}
