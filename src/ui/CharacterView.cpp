#include "ui/CharacterView.h"

#include <oleacc.h>

#include <cstdio>

#include "model/EudcCharacters.h"
#include "platform/win32/AnsiCodePage.h"
#include "drawing/CharacterChart.h"
#include "platform/win32/Resources.h"
#include "resource.h"
#include "ui/Palette.h"

namespace {

constexpr int kVisibleRows = 10;
// In pixels at 96 DPI, scaled with the display.
constexpr int kLargeGlyph = 80;   // the em of the selected character
constexpr int kLargeBox = 104;    // its square, frame included
constexpr int kGap = 8;           // between the grid and what is beside it
constexpr int kLineHeight = 20;
constexpr int kTextWidth = kLargeBox + 40;

// Posted by the load when the file has been read and loaded, or found unreadable.
constexpr UINT WM_CHARACTERS_LOADED = WM_APP + 1;

}  // namespace

const MessageMapEntry CCharacterView::messageEntries[] = {
    OnCommand<&CCharacterView::OnSelectionChanged>(CharacterGrid::kSelectionChanged, IDC_CHAR_GRID),
    OnMessage<&CCharacterView::OnDrawItem>(WM_DRAWITEM),
    OnMessage<&CCharacterView::OnLoaded>(WM_CHARACTERS_LOADED),
    OnMessage<&CCharacterView::OnDestroy>(WM_DESTROY),
};

const MessageMap CCharacterView::messageMap{&CDialog::messageMap, messageEntries};

CCharacterView::CCharacterView(const DialogContext& context, const LinkPorts& ports, const CString& path)
    : CDialog(context, IDD_CHARACTERS),
      m_files(ports.files),
      m_rules(ports.rules),
      m_path(path),
      m_grid(chart::GeometryAt(context.dpi), context.highContrast)
{
    CharacterGrid::Register(context.instance);
}

CCharacterView::~CCharacterView() = default;

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
    // An empty grid until the file is read: its size, and so the view's, are already right.
    m_grid.Attach(GetDlgItem(IDC_CHAR_GRID)->m_hWnd, {}, nullptr, kVisibleRows);
    const ItemSource& cells = *this;
    m_cellsHeard = std::make_unique<AccessibleItems>(GetDlgItem(IDC_CHAR_GRID)->m_hWnd, cells, ROLE_SYSTEM_CELL);
    GetDlgItem(IDC_CHAR_COUNT)->SetWindowText(LoadResourceString(m_context.instance, IDS_CHARS_READING));
    LayOut();
    CenterWindow();
    ShowSelected();
    ::SetFocus(GetDlgItem(IDC_CHAR_GRID)->m_hWnd);
    const CharacterLoad::Sizes sizes{m_grid.Geometry().glyph, Scaled(kLargeGlyph, m_context.dpi)};
    m_load = std::make_unique<CharacterLoad>(m_files, m_rules, m_path, sizes, m_hWnd, WM_CHARACTERS_LOADED);
    return FALSE;  // the focus is the grid's
}

void CCharacterView::OnLoaded()
{
    std::optional<CharacterLoad::Loaded> loaded = m_load ? m_load->Take() : std::nullopt;
    if (!loaded)
        return;
    if (!loaded->IsReadable()) {
        EndDialog(kUnreadable);
        return;
    }
    m_loaded = std::move(loaded);
    m_grid.Attach(GetDlgItem(IDC_CHAR_GRID)->m_hWnd, m_loaded->characters, m_loaded->cells.get(), kVisibleRows);
    char count[128] = {};
    std::snprintf(count, sizeof count, LoadResourceString(m_context.instance, IDS_CHARS_COUNT).c_str(),
                  static_cast<unsigned>(m_loaded->characters.size()));
    GetDlgItem(IDC_CHAR_COUNT)->SetWindowText(count);
    ShowSelected();
}

// A read that still waits on its file is abandoned; the file stays loaded until the view's
// object ends, as its fonts may be in use until then.
void CCharacterView::OnDestroy()
{
    m_load.reset();
    m_cellsHeard.reset();
    Default();
}

// Beside the grid, whose size its cells decide: the selected character, its codes and the
// count; below them, Close; the dialog around them all.
void CCharacterView::LayOut()
{
    RECT grid = GetDlgItem(IDC_CHAR_GRID)->GetWindowRect();
    ScreenToClient(grid);
    const int largeBox = Scaled(kLargeBox, m_context.dpi);
    const int gap = Scaled(kGap, m_context.dpi);
    const int lineHeight = Scaled(kLineHeight, m_context.dpi);
    const int textWidth = Scaled(kTextWidth, m_context.dpi);
    const int x = grid.right + gap;
    const auto place = [&](int id, int top, int width, int height) {
        ::SetWindowPos(GetDlgItem(id)->m_hWnd, nullptr, x, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(IDC_CHAR_PREVIEW, grid.top, largeBox, largeBox);
    place(IDC_CHAR_CODE, grid.top + largeBox + gap, textWidth, lineHeight);
    place(IDC_CHAR_BIG5, grid.top + largeBox + gap + lineHeight, textWidth, lineHeight);
    place(IDC_CHAR_COUNT, grid.top + largeBox + gap + 2 * lineHeight, textWidth, lineHeight);

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

std::pair<CString, CString> CCharacterView::CodesOf(std::size_t index) const
{
    if (!m_loaded || index >= m_loaded->characters.size())
        return {};
    const char32_t c = m_loaded->characters[index];
    const std::string inCodePage = CodePageCodeOf(c, m_rules);
    return {"Unicode " + CodePointText(c),
            "Big5 " + (inCodePage.empty() ? LoadResourceString(m_context.instance, IDS_CHARS_NO_BIG5) : inCodePage)};
}

void CCharacterView::ShowSelected()
{
    const auto [code, big5] = CodesOf(m_grid.Selected());
    GetDlgItem(IDC_CHAR_CODE)->SetWindowText(code);
    GetDlgItem(IDC_CHAR_BIG5)->SetWindowText(big5);
    GetDlgItem(IDC_CHAR_PREVIEW)->InvalidateRect(nullptr, false);
    if (m_cellsHeard)
        m_cellsHeard->NotifySelected();
}

long CCharacterView::ItemCount() const
{
    return m_loaded ? static_cast<long>(m_loaded->characters.size()) : 0;
}

// The character itself, then its codes: "\uE000, Unicode U+E000, Big5 FA40".
std::u16string CCharacterView::ItemName(long item) const
{
    const auto index = static_cast<std::size_t>(item);
    if (!m_loaded || index >= m_loaded->characters.size())
        return {};
    // EUDC characters are all in the private use area: one UTF-16 unit each.
    const std::u16string character(1, static_cast<char16_t>(m_loaded->characters[index]));
    const auto [code, big5] = CodesOf(index);
    return character + u", " + AnsiToWide(code) + u", " + AnsiToWide(big5);
}

long CCharacterView::SelectedItem() const
{
    return m_grid.Selected() < static_cast<std::size_t>(ItemCount()) ? static_cast<long>(m_grid.Selected()) : -1;
}

RECT CCharacterView::ItemRect(long item) const
{
    return m_grid.Geometry().CellRect(static_cast<std::size_t>(item), m_grid.TopRow());
}

void CCharacterView::OnDrawItem(int controlId, DRAWITEMSTRUCT* item)
{
    if (controlId != IDC_CHAR_PREVIEW)
        return;
    const std::size_t selected = m_grid.Selected();
    const chart::Colours colours = Palette(m_context.highContrast()).Chart();
    if (m_loaded && selected < m_loaded->characters.size()) {
        DrawLargeCharacter(item->hDC, m_loaded->large.get(), m_loaded->characters[selected], item->rcItem, colours);
    } else {
        ::SetBkColor(item->hDC, colours.paper);
        ::ExtTextOutW(item->hDC, 0, 0, ETO_OPAQUE, &item->rcItem, nullptr, 0, nullptr);
    }
}
