#include "ui/ListRows.h"

#include "model/EudcPath.h"
#include "platform/win32/UniqueHandle.h"

namespace {

// "系統預設外字集" (system default EUDC) in code page 950: the name row 0 shows.
constexpr char kSystemDefaultLabel[] = "\xA8\x74\xB2\xCE\xB9\x77\xB3\x5D\xA5\x7E\xA6\x72\xB6\xB0";

constexpr UINT kTextFormat = DT_VCENTER | DT_NOPREFIX;

// The focus as a dotted line in one colour, where an exclusive-or would give a colour of
// no scheme.
void DrawDottedFrame(HDC dc, const RECT& rect, COLORREF colour)
{
    const LOGBRUSH line{BS_SOLID, colour, 0};
    const GdiObject<HPEN> pen(::ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &line, 0, nullptr));
    const Selection penSelected = Select(dc, pen.get());
    const Selection brushSelected = Select(dc, ::GetStockObject(NULL_BRUSH));
    ::Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
}

}  // namespace

// In the program's own colours, selection and focus changes arrive as their own requests
// and are drawn by exclusive-or, so each one toggles what a full draw left. In the
// system's colours the row is drawn whole for each.
void ListRows::Draw(const DRAWITEMSTRUCT& item, const Palette& palette)
{
    switch (item.itemAction) {
    case ODA_DRAWENTIRE:
        DrawEntireRow(item, palette);
        break;
    case ODA_SELECT:
        if (palette.InvertsSelection())
            ::InvertRect(item.hDC, &item.rcItem);
        else
            DrawEntireRow(item, palette);
        break;
    case ODA_FOCUS:
        if (palette.InvertsSelection())
            ::DrawFocusRect(item.hDC, &item.rcItem);
        else
            DrawEntireRow(item, palette);
        break;
    }
}

void ListRows::DrawEntireRow(const DRAWITEMSTRUCT& item, const Palette& palette)
{
    // An empty list asks for row -1.
    const std::span<const LinkRow> rows = m_links.Rows();
    if (item.itemID >= rows.size())
        return;
    const LinkRow& link = rows[item.itemID];
    const HDC dc = item.hDC;
    const RECT& row = item.rcItem;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const RowColours colours = palette.Row(dc, selected);
    const COLORREF keptPaper = ::SetBkColor(dc, colours.paper);
    const COLORREF keptInk = ::SetTextColor(dc, colours.ink);

    RECT text = row;
    ::ExtTextOutA(dc, text.left, text.top, ETO_OPAQUE, &text, "", 0, nullptr);
    m_picture.Draw(dc, row.left, row.top, colours.paper);

    // Without DT_SINGLELINE both texts start at the row's top. Names and paths are drawn
    // as they are: an "&" in them is no mnemonic.
    text.left = row.left + m_picture.GetWidth() + m_nameGap;
    const CString& name = link.kind == NameKind::Default ? CString(kSystemDefaultLabel) : link.name;
    ::DrawTextA(dc, name.c_str(), -1, &text, kTextFormat);
    DrawLinkText(dc, text, link, colours);

    if (selected && palette.InvertsSelection())
        ::InvertRect(dc, &row);
    if (item.itemState & ODS_FOCUS) {
        if (palette.InvertsSelection())
            ::DrawFocusRect(dc, &row);
        else
            DrawDottedFrame(dc, row, colours.ink);
    }
    ::SetTextColor(dc, keptInk);
    ::SetBkColor(dc, keptPaper);
}

// Against the right edge, in the row's colour for a link that works or is not yet
// checked, the no-link colour for none, the problem colour for one that cannot work.
void ListRows::DrawLinkText(HDC dc, RECT& text, const LinkRow& row, const RowColours& colours) const
{
    const CString linkText = GetLinkText(row);
    if (!row.hasLink)
        ::SetTextColor(dc, colours.noLinkInk);
    else if (IsProblem(row.state))
        ::SetTextColor(dc, colours.problemInk);
    ::DrawTextA(dc, linkText.c_str(), -1, &text, kTextFormat | DT_RIGHT);
    ::SetTextColor(dc, colours.ink);
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
