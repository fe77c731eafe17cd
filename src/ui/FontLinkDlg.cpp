#include "ui/FontLinkDlg.h"

#include <algorithm>

#include "platform/win32/EudcFileDialog.h"
#include "platform/win32/PaintDC.h"
#include "platform/win32/Resources.h"
#include "resource.h"
#include "ui/CharacterView.h"
#include "ui/IconPlacement.h"
#include "ui/SunkenFrame.h"

namespace {

// Posted when checks of linked files have results, and when the link key may have changed.
constexpr UINT WM_LINKS_CHECKED = WM_APP + 1;
constexpr UINT WM_KEY_CHANGED = WM_APP + 2;

// An installer that adds many fonts broadcasts once for each, and each listing of the
// fonts costs what start-up does: the rows are made again once the broadcasts pause.
constexpr UINT_PTR kFontsChangedTimer = 1;
// A timer's message comes only when nothing is left to paint: the threads that check files
// and post the key's changes start then, so that the first paint does not wait for them.
constexpr UINT_PTR kPaintedTimer = 2;
constexpr UINT kFontsChangedPause = 100;  // ms

// The key whose subkeys hold every code page's links: watching it sees the link key made
// and deleted as well as changed.
constexpr char kLinkKeyParent[] = "EUDC";

LinkWords LoadLinkWords(HINSTANCE instance)
{
    return {LoadResourceString(instance, IDS_NO_ASSIGNED), LoadResourceString(instance, IDS_MISSING_FILE),
            LoadResourceString(instance, IDS_NOT_A_FONT), LoadResourceString(instance, IDS_BAD_VALUE)};
}

}  // namespace

const MessageMapEntry CFontLinkDlg::messageEntries[] = {
    OnMessage<&CFontLinkDlg::OnSysCommand>(WM_SYSCOMMAND),
    OnMessage<&CFontLinkDlg::OnPaint>(WM_PAINT),
    OnMessage<&CFontLinkDlg::OnQueryDragIcon>(WM_QUERYDRAGICON),
    OnMessage<&CFontLinkDlg::OnDrawItem>(WM_DRAWITEM),
    OnMessage<&CFontLinkDlg::OnLinksChecked>(WM_LINKS_CHECKED),
    OnMessage<&CFontLinkDlg::OnKeyChanged>(WM_KEY_CHANGED),
    OnMessage<&CFontLinkDlg::OnFontChange>(WM_FONTCHANGE),
    OnMessage<&CFontLinkDlg::OnTimer>(WM_TIMER),
    OnMessage<&CFontLinkDlg::OnDestroy>(WM_DESTROY),
    OnCommand<&CFontLinkDlg::OnModify>(BN_CLICKED, IDC_MODIFY),
    OnCommand<&CFontLinkDlg::OnRemove>(BN_CLICKED, IDC_REMOVE),
    OnCommand<&CFontLinkDlg::OnDblclkFontList>(LBN_DBLCLK, IDC_FONT_LIST),
    OnCommand<&CFontLinkDlg::OnSelchangeFontList>(LBN_SELCHANGE, IDC_FONT_LIST),
    OnCommand<&CFontLinkDlg::OnAbout>(BN_CLICKED, IDC_ABOUT),
};

const MessageMap CFontLinkDlg::messageMap{&CDialog::messageMap, messageEntries};

CFontLinkDlg::CFontLinkDlg(const DialogContext& context, const LinkPorts& ports, AboutBoxOpener openAboutBox)
    : CDialog(context, IDD_MAIN),
      m_openAboutBox(std::move(openAboutBox)),
      m_links(ports, *this),
      m_words(LoadLinkWords(context.instance)),
      m_rows(m_bmpItem, context.dpi, m_links, m_words, ports.rules.isLeadByte),
      m_ports(ports)
{
    m_bmpItem.LoadBitmap(context.instance, IDB_FONT_ITEM);
    m_hIcon = ::LoadIconA(context.instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
}

CFontLinkDlg::~CFontLinkDlg() = default;

const MessageMap& CFontLinkDlg::GetMessageMap() const
{
    return messageMap;
}

BOOL CFontLinkDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();
    SetIcon(m_hIcon, true);

    const CString aboutEntry = LoadResourceString(m_context.instance, IDS_ABOUTBOX);
    if (!aboutEntry.empty()) {
        const HMENU systemMenu = GetSystemMenu(false);
        ::AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
        const CString charactersEntry = LoadResourceString(m_context.instance, IDS_CHARACTERS);
        ::AppendMenuA(systemMenu, MF_STRING, IDM_CHARACTERS, charactersEntry.c_str());
        ::AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, aboutEntry.c_str());
    }
    // Ctrl+E is the system menu's command; only keys meant for the dialog itself count,
    // not those of a box it has opened.
    m_charactersKey = std::make_unique<DialogKeyFilter>('E', MOD_CONTROL, [this](HWND window) {
        if (::GetAncestor(window, GA_ROOT) != m_hWnd)
            return false;
        ::PostMessageA(m_hWnd, WM_SYSCOMMAND, IDM_CHARACTERS, 0);
        return true;
    });

    m_links.BuildFontList();
    m_links.LoadLinks();
    LocateListBox();
    FillFontListBox();
    m_pListBox->SetCurSel(0);
    m_rowsHeard = std::make_unique<ListAccessible>(m_pListBox->m_hWnd, m_rows);
    // Watched from before the first paint, so that no change is missed; told from after it.
    m_keyWatch = std::make_unique<RegistryWatch>(HKEY_CURRENT_USER, kLinkKeyParent, m_hWnd, WM_KEY_CHANGED);
    ::SetTimer(m_hWnd, kPaintedTimer, 0, nullptr);
    return TRUE;  // the focus goes to the first tab stop, Close
}

void CFontLinkDlg::LocateListBox()
{
    m_pListBox = GetDlgItem<CListBox>(IDC_FONT_LIST);
    m_rcListBox = m_pListBox->GetWindowRect();
    ScreenToClient(m_rcListBox);
}

// Rows are inserted, never added: the list has LBS_SORT, and adding would sort them,
// so that row i would no longer be entry i of the font list.
void CFontLinkDlg::FillFontListBox()
{
    m_pListBox->ResetContent();
    for (const LinkRow& row : m_links.Rows())
        m_pListBox->InsertString(-1, row.name);
    ShowRowStates();
}

// Each row's item data is its link's state, for other programs that read the list.
void CFontLinkDlg::ShowRowStates() const
{
    const std::span<const LinkRow> rows = m_links.Rows();
    for (std::size_t row = 0; row < rows.size(); ++row)
        m_pListBox->SetItemData(static_cast<int>(row), static_cast<LPARAM>(rows[row].state));
}

void CFontLinkDlg::OnLinksChecked()
{
    for (const int row : m_links.ApplyChecks()) {
        const auto before = static_cast<LinkState>(m_pListBox->GetItemData(row));
        const LinkState after = m_links.Rows()[row].state;
        m_pListBox->SetItemData(row, static_cast<LPARAM>(after));
        if (ListRows::LooksDifferent(before, after))
            m_pListBox->InvalidateRow(row);
    }
}

// The window's own changes are told by an arming that KeyWritten has replaced; were they
// read again, a Modify among 10,000 values would read them all twice.
LRESULT CFontLinkDlg::OnKeyChanged(WPARAM arming, LPARAM)
{
    if (!m_keyWatch || !m_keyWatch->IsCurrent(arming))
        return 0;
    m_keyWatch->Rearm();
    if (m_links.ReloadLinks()) {
        ShowRowStates();
        m_pListBox->InvalidateRect(nullptr, true);
    }
    return 0;
}

void CFontLinkDlg::OnFontChange()
{
    ::SetTimer(m_hWnd, kFontsChangedTimer, kFontsChangedPause, nullptr);
}

void CFontLinkDlg::OnTimer(UINT id, LPARAM)
{
    if (id != kFontsChangedTimer && id != kPaintedTimer) {
        Default();
        return;
    }
    ::KillTimer(m_hWnd, id);
    if (id == kFontsChangedTimer)
        ShowInstalledFonts();
    else
        FollowOtherPrograms();
}

void CFontLinkDlg::FollowOtherPrograms()
{
    const HWND window = m_hWnd;
    m_links.CheckFilesInBackground([window] { return ::PostMessageA(window, WM_LINKS_CHECKED, 0, 0) != FALSE; });
    m_keyWatch->Post();
}

// The checks and the watch end with the window, not with the object, which outlives it: a
// check that waits on a share that does not answer is abandoned, so that closing the
// window ends the program at once.
void CFontLinkDlg::OnDestroy()
{
    ::KillTimer(m_hWnd, kPaintedTimer);
    ::KillTimer(m_hWnd, kFontsChangedTimer);
    m_links.StopChecks();
    m_keyWatch.reset();
    m_rowsHeard.reset();
    Default();
}

// Fonts installed or removed: the rows are made again, the selection kept on its font.
void CFontLinkDlg::ShowInstalledFonts()
{
    const int selected = GetSelectedRow();
    const CString selectedFont = selected >= 0 ? m_links.Rows()[selected].name : CString();
    const int top = m_pListBox->GetTopIndex();
    m_links.BuildFontList();
    FillFontListBox();
    m_pListBox->SetTopIndex(top);
    // A font that is gone leaves the selection on the system-wide default.
    if (selected >= 0)
        m_pListBox->SetCurSel(std::max(m_links.FindRow(selectedFont), 0));
}

void CFontLinkDlg::OnSysCommand(UINT id, LPARAM)
{
    if ((id & 0xFFF0) == IDM_ABOUTBOX)
        OnAbout();
    else if ((id & 0xFFF0) == IDM_CHARACTERS)
        OnCharacters();
    else
        Default();
}

void CFontLinkDlg::OnAbout()
{
    m_openAboutBox(m_hWnd);
}

// Only a file already checked and found a font is opened, and the view reads it on a thread
// of its own: a share may stop answering, and the window's thread must not wait for it.
void CFontLinkDlg::OnCharacters()
{
    const int selected = GetSelectedRow();
    const auto rows = m_links.Rows();
    if (selected < 0 || static_cast<std::size_t>(selected) >= rows.size())
        return;
    const LinkRow& row = rows[static_cast<std::size_t>(selected)];
    UINT why = 0;
    switch (row.state) {
    case LinkState::Linked:
        break;
    case LinkState::Unchecked:
        why = IDS_CHARS_UNCHECKED;
        break;
    case LinkState::Unlinked:
        why = IDS_CHARS_UNLINKED;
        break;
    case LinkState::MissingFile:
        why = IDS_CHARS_MISSING_FILE;
        break;
    case LinkState::NotAFont:
        why = IDS_CHARS_NOT_A_FONT;
        break;
    case LinkState::BadValue:
        why = IDS_CHARS_BAD_VALUE;
        break;
    }
    if (why == 0) {
        CCharacterView view(m_context, m_ports, row.file);
        if (view.DoModal(m_hWnd) != CCharacterView::kUnreadable)
            return;
        why = IDS_CHARS_UNREADABLE;
    }
    MessageBox(LoadResourceString(m_context.instance, why).c_str());
}

void CFontLinkDlg::OnModify()
{
    m_links.LinkSelected();
}

void CFontLinkDlg::OnRemove()
{
    m_links.UnlinkSelected();
}

// A double-click on a row is Modify of that row.
void CFontLinkDlg::OnDblclkFontList()
{
    m_links.LinkSelected();
}

// Wine's list box raises no focus event for screen readers when the user moves its
// selection; Windows' raises one as well, for the same row.
void CFontLinkDlg::OnSelchangeFontList()
{
    m_rowsHeard->NotifySelected();
}

int CFontLinkDlg::GetSelectedRow() const
{
    return m_pListBox->GetCurSel();
}

bool CFontLinkDlg::ChooseEudcFile(CString& path)
{
    EudcFileDialog dialog;
    if (!dialog.DoModal())
        return false;
    path = dialog.GetPathName();
    return true;
}

void CFontLinkDlg::ShowMessage(const char* text)
{
    MessageBox(text);
}

void CFontLinkDlg::KeyWritten()
{
    if (m_keyWatch)
        m_keyWatch->Rearm();
}

void CFontLinkDlg::RepaintAll()
{
    ShowRowStates();
    InvalidateRect(nullptr, true);
}

void CFontLinkDlg::OnPaint()
{
    if (IsIconic()) {
        PaintMinimized();
        return;
    }
    const CPaintDC dc(m_hWnd);
    DrawSunkenFrame(dc, m_rcListBox, Palette(m_context.highContrast()).Frame(), LineWidth(m_context.dpi));
    Default();
}

void CFontLinkDlg::PaintMinimized()
{
    const CPaintDC dc(m_hWnd);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()));
    const RECT client = GetClientRect();
    const IconOrigin origin =
        CenteredIconOrigin(client.right - client.left, client.bottom - client.top,
                           ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON));
    dc.DrawIcon(origin.x, origin.y, m_hIcon);
}

void CFontLinkDlg::OnDrawItem(int, DRAWITEMSTRUCT* item)
{
    m_rows.Draw(*item, Palette(m_context.highContrast()));
    Default();
}

HCURSOR CFontLinkDlg::OnQueryDragIcon()
{
    return m_hIcon;
}
