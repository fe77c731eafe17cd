#include "ui/FontLinkDlg.h"

#include "app/AboutBox.h"
#include "model/FontList.h"
#include "platform/win32/EudcFileDialog.h"
#include "platform/win32/GdiObjects.h"
#include "platform/win32/Win32FontSource.h"
#include "platform/win32/WinApp.h"
#include "resource.h"
#include "ui/IconPlacement.h"

namespace {

// "系統預設外字集" (system default EUDC) in code page 950: the name row 0 shows.
constexpr char kSystemDefaultLabel[] = "\xA8\x74\xB2\xCE\xB9\x77\xB3\x5D\xA5\x7E\xA6\x72\xB6\xB0";

// Where a row's name starts: after the item bitmap's 19 pixels and a gap of 2.
constexpr int kNameIndent = 19 + 2;

}  // namespace

const MessageMapEntry CFontLinkDlg::messageEntries[] = {
    OnMessage<&CFontLinkDlg::OnSysCommand>(WM_SYSCOMMAND),
    OnMessage<&CFontLinkDlg::OnPaint>(WM_PAINT),
    OnMessage<&CFontLinkDlg::OnQueryDragIcon>(WM_QUERYDRAGICON),
    OnMessage<&CFontLinkDlg::OnDrawItem>(WM_DRAWITEM),
    OnMessage<&CFontLinkDlg::OnMeasureItem>(WM_MEASUREITEM),
    OnCommand<&CFontLinkDlg::OnModify>(BN_CLICKED, IDC_MODIFY),
    OnCommand<&CFontLinkDlg::OnRemove>(BN_CLICKED, IDC_REMOVE),
    OnCommand<&CFontLinkDlg::OnDblclkFontList>(LBN_DBLCLK, IDC_FONT_LIST),
    OnCommand<&CFontLinkDlg::OnAbout>(BN_CLICKED, IDC_ABOUT),
};

const MessageMap CFontLinkDlg::messageMap{&CDialog::messageMap, messageEntries};

CFontLinkDlg::CFontLinkDlg(CWnd* parent)
    : CDialog(IDD_MAIN, parent), m_hIcon(CWinApp::Current()->LoadIcon(IDR_MAINFRAME))
{
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

    const CString aboutEntry = LoadResourceString(IDS_ABOUTBOX);
    if (!aboutEntry.empty()) {
        const HMENU systemMenu = GetSystemMenu(false);
        ::AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, aboutEntry.c_str());
    }

    BuildFontList();
    m_links.LoadLinks();
    LocateListBox();
    FillFontListBox();
    m_pListBox->SetCurSel(0);
    return TRUE;  // the focus goes to the first tab stop, Close
}

void CFontLinkDlg::BuildFontList()
{
    Win32FontSource fonts(m_hWnd);
    ::BuildFontList(fonts, FontList);
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
    for (const CString& font : FontList)
        m_pListBox->InsertString(-1, font);
}

void CFontLinkDlg::OnSysCommand(UINT id, LPARAM)
{
    if ((id & 0xFFF0) == IDM_ABOUTBOX)
        OnAbout();
    else
        Default();
}

void CFontLinkDlg::OnAbout()
{
    CAboutBox about;
    about.DoModal();
}

void CFontLinkDlg::OnModify()
{
    m_links.OnModify();
}

void CFontLinkDlg::OnRemove()
{
    m_links.OnRemove();
}

void CFontLinkDlg::OnDblclkFontList()
{
    m_links.OnDblclkFontList();
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

void CFontLinkDlg::RepaintAll()
{
    InvalidateRect(nullptr, true);
}

CString CFontLinkDlg::NoAssignedText() const
{
    return LoadResourceString(IDS_NO_ASSIGNED);
}

void CFontLinkDlg::OnPaint()
{
    if (IsIconic()) {
        PaintMinimized();
        return;
    }
    const CPaintDC dc(m_hWnd);
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

HCURSOR CFontLinkDlg::OnQueryDragIcon()
{
    return m_hIcon;
}

void CFontLinkDlg::OnDrawItem(int, DRAWITEMSTRUCT* item)
{
    const HDC dc = item->hDC;
    const RECT& row = item->rcItem;
    switch (item->itemAction) {
    case ODA_DRAWENTIRE: {
        if (item->itemID >= FontList.size())
            break;
        ::ExtTextOutA(dc, row.left, row.top, ETO_OPAQUE, &row, "", 0, nullptr);
        RECT text = row;
        text.left += kNameIndent;
        const CString& name = item->itemID == 0 ? CString(kSystemDefaultLabel) : FontList[item->itemID];
        ::DrawTextA(dc, name.c_str(), -1, &text, DT_VCENTER);
        DrawLinkText(dc, text, m_links.GetLinkText(static_cast<int>(item->itemID)));
        if (item->itemState & ODS_SELECTED)
            ::InvertRect(dc, &row);
        if (item->itemState & ODS_FOCUS)
            ::DrawFocusRect(dc, &row);
        break;
    }
    case ODA_SELECT:
        ::InvertRect(dc, &row);
        break;
    case ODA_FOCUS:
        ::DrawFocusRect(dc, &row);
        break;
    }
    Default();
}

// Against the right edge; a row without a link says so in light grey.
void CFontLinkDlg::DrawLinkText(HDC dc, RECT& text, const CString& linkText) const
{
    if (linkText == NoAssignedText()) {
        const COLORREF kept = ::SetTextColor(dc, RGB(192, 192, 192));
        ::DrawTextA(dc, linkText.c_str(), -1, &text, DT_RIGHT | DT_VCENTER);
        ::SetTextColor(dc, kept);
    } else {
        ::DrawTextA(dc, linkText.c_str(), -1, &text, DT_RIGHT | DT_VCENTER);
    }
}

void CFontLinkDlg::OnMeasureItem(int, MEASUREITEMSTRUCT*)
{
    Default();
}
