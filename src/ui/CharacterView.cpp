#include "ui/CharacterView.h"

#include <cstdio>
#include <memory>

#include "model/EudcCharacters.h"
#include "model/FontFaceName.h"
#include "platform/win32/CharacterChart.h"
#include "platform/win32/Resources.h"
#include "resource.h"

namespace {

constexpr int kVisibleRows = 10;
constexpr int kLargeGlyph = 80;   // the em of the selected character
constexpr int kLargeBox = 104;    // its square, frame included
constexpr int kGap = 8;           // between the grid and what is beside it
constexpr int kLineHeight = 20;

}  // namespace

const MessageMapEntry CCharacterView::messageEntries[] = {
    OnCommand<&CCharacterView::OnSelectionChanged>(CharacterGrid::kSelectionChanged, IDC_CHAR_GRID),
    OnMessage<&CCharacterView::OnDrawItem>(WM_DRAWITEM),
};

const MessageMap CCharacterView::messageMap{&CDialog::messageMap, messageEntries};

CCharacterView::CCharacterView(const DialogContext& context, const LinkPorts& ports, const CString& path)
    : CDialog(context, IDD_CHARACTERS), m_rules(ports.rules), m_path(path)
{
    CharacterGrid::Register(context.instance);
    const std::unique_ptr<ReadableFile> file = ports.files.Open(path);
    std::optional<std::vector<char32_t>> characters = file ? ListEudcCharacters(*file) : std::nullopt;
    const std::optional<std::u16string> face = characters ? ReadFontFamilyName(*file) : std::nullopt;
    if (!face)
        return;
    m_characters = std::move(*characters);
    m_font.emplace(path, *face);
    m_glyphs = m_font->Create(chart::kGlyph);
    m_large = m_font->Create(kLargeGlyph);
}

const MessageMap& CCharacterView::GetMessageMap() const
{
    return messageMap;
}

BOOL CCharacterView::OnInitDialog()
{
    CDialog::OnInitDialog();
    char caption[128] = {};
    ::GetWindowTextA(m_hWnd, caption, sizeof caption);
    SetWindowText(CString(caption) + " - " + m_path);
    m_grid.Attach(GetDlgItem(IDC_CHAR_GRID)->m_hWnd, m_characters, m_glyphs.get(), kVisibleRows);
    char count[128] = {};
    std::snprintf(count, sizeof count, LoadResourceString(m_context.instance, IDS_CHARS_COUNT).c_str(),
                  static_cast<unsigned>(m_characters.size()));
    GetDlgItem(IDC_CHAR_COUNT)->SetWindowText(count);
    LayOut();
    CenterWindow();
    ShowSelected();
    ::SetFocus(GetDlgItem(IDC_CHAR_GRID)->m_hWnd);
    return FALSE;  // the focus is the grid's
}

// Beside the grid, whose size its cells decide: the selected character, its codes and the
// count; below them, Close; the dialog around them all.
void CCharacterView::LayOut()
{
    RECT grid = GetDlgItem(IDC_CHAR_GRID)->GetWindowRect();
    ScreenToClient(grid);
    const int x = grid.right + kGap;
    const auto place = [&](int id, int top, int width, int height) {
        ::SetWindowPos(GetDlgItem(id)->m_hWnd, nullptr, x, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    const int textWidth = kLargeBox + 40;
    place(IDC_CHAR_PREVIEW, grid.top, kLargeBox, kLargeBox);
    place(IDC_CHAR_CODE, grid.top + kLargeBox + kGap, textWidth, kLineHeight);
    place(IDC_CHAR_BIG5, grid.top + kLargeBox + kGap + kLineHeight, textWidth, kLineHeight);
    place(IDC_CHAR_COUNT, grid.top + kLargeBox + kGap + 2 * kLineHeight, textWidth, kLineHeight);

    const RECT close = GetDlgItem(IDOK)->GetWindowRect();
    const int closeWidth = close.right - close.left;
    const int closeHeight = close.bottom - close.top;
    place(IDOK, grid.bottom - closeHeight, closeWidth, closeHeight);

    RECT client{0, 0, x + textWidth + grid.left, grid.bottom + grid.top};
    ::AdjustWindowRectEx(&client, static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE)));
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, client.right - client.left, client.bottom - client.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CCharacterView::OnSelectionChanged()
{
    ShowSelected();
}

void CCharacterView::ShowSelected()
{
    const std::size_t selected = m_grid.Selected();
    CString code, big5;
    if (selected < m_characters.size()) {
        const char32_t c = m_characters[selected];
        code = "Unicode " + CodePointText(c);
        const std::string inCodePage = CodePageCodeOf(c, m_rules);
        big5 = "Big5 " + (inCodePage.empty() ? LoadResourceString(m_context.instance, IDS_CHARS_NO_BIG5) : inCodePage);
    }
    GetDlgItem(IDC_CHAR_CODE)->SetWindowText(code);
    GetDlgItem(IDC_CHAR_BIG5)->SetWindowText(big5);
    GetDlgItem(IDC_CHAR_PREVIEW)->InvalidateRect(nullptr, false);
}

void CCharacterView::OnDrawItem(int controlId, DRAWITEMSTRUCT* item)
{
    if (controlId != IDC_CHAR_PREVIEW)
        return;
    const std::size_t selected = m_grid.Selected();
    if (selected < m_characters.size()) {
        DrawLargeCharacter(item->hDC, m_large.get(), m_characters[selected], item->rcItem);
    } else {
        ::SetBkColor(item->hDC, chart::kPaper);
        ::ExtTextOutW(item->hDC, 0, 0, ETO_OPAQUE, &item->rcItem, nullptr, 0, nullptr);
    }
}
