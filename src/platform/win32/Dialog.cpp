#include "platform/win32/Dialog.h"

namespace {

// Messages whose result the dialog procedure returns itself; the others' goes into
// DWLP_MSGRESULT.
bool ReturnsItsResultDirectly(UINT message)
{
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}

}  // namespace

const MessageMapEntry CDialog::messageEntries[] = {
    OnCommand<&CDialog::OnOK>(BN_CLICKED, IDOK),
    OnCommand<&CDialog::OnCancel>(BN_CLICKED, IDCANCEL),
    OnMessage<&CDialog::OnCtlColor>(WM_CTLCOLORDLG),
    OnMessage<&CDialog::OnCtlColor>(WM_CTLCOLORSTATIC),
    OnMessage<&CDialog::OnCtlColor>(WM_CTLCOLORBTN),
    OnMessage<&CDialog::OnSysColorChange>(WM_SYSCOLORCHANGE),
    OnMessage<&CDialog::OnSettingChange>(WM_SETTINGCHANGE),
};

const MessageMap CDialog::messageMap{nullptr, messageEntries};

CDialog::CDialog(const DialogContext& context, UINT templateId) : m_context(context), m_templateId(templateId)
{
}

CDialog::~CDialog() = default;

const MessageMap& CDialog::GetMessageMap() const
{
    return messageMap;
}

INT_PTR CDialog::DoModal(HWND owner)
{
    return ::DialogBoxParamA(m_context.instance, MAKEINTRESOURCEA(m_templateId), owner, DialogProc,
                             reinterpret_cast<LPARAM>(this));
}

// A window is one of ours when its dialog procedure is: only then is DWLP_USER our object.
CDialog* CDialog::FromHandle(HWND window)
{
    if (window == nullptr ||
        ::GetWindowLongPtrA(window, DWLP_DLGPROC) != reinterpret_cast<LONG_PTR>(&CDialog::DialogProc))
        return nullptr;
    return reinterpret_cast<CDialog*>(::GetWindowLongPtrA(window, DWLP_USER));
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        dialog->m_hWnd = window;
        ::SetWindowLongPtrA(window, DWLP_USER, lParam);
        return dialog->OnInitDialog();
    }
    CDialog* dialog = FromHandle(window);
    if (dialog == nullptr)  // a message before WM_INITDIALOG
        return FALSE;
    if (message == WM_NCDESTROY) {
        dialog->m_hWnd = nullptr;
        ::SetWindowLongPtrA(window, DWLP_USER, 0);
        return FALSE;
    }
    const MessageMapEntry* entry = dialog->FindHandler(message, wParam);
    return entry != nullptr ? dialog->Dispatch(*entry, message, wParam, lParam) : FALSE;
}

const MessageMapEntry* CDialog::FindHandler(UINT message, WPARAM wParam) const
{
    for (const MessageMap* map = &GetMessageMap(); map != nullptr; map = map->base) {
        for (const MessageMapEntry& entry : map->entries) {
            if (entry.message != message)
                continue;
            if (message != WM_COMMAND ||
                (entry.code == HIWORD(wParam) && entry.id == static_cast<short>(LOWORD(wParam))))
                return &entry;
        }
    }
    return nullptr;
}

INT_PTR CDialog::Dispatch(const MessageMapEntry& entry, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Handlers may run a modal loop of their own, which dispatches more messages to us.
    const CurrentMessage outer = m_current;
    m_current = {message, wParam, lParam};
    const LRESULT result = entry.handler(*this, wParam, lParam);
    m_current = outer;
    if (ReturnsItsResultDirectly(message))
        return result;
    if (m_hWnd != nullptr)
        ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}

LRESULT CDialog::Default()
{
    return ::DefWindowProcA(m_hWnd, m_current.message, m_current.wParam, m_current.lParam);
}

int CDialog::MessageBox(const char* text, UINT type) const
{
    return ::MessageBoxA(m_hWnd, text, m_context.appName.c_str(), type);
}

// The dialog surface, static texts, group boxes and buttons take the application's
// dialog colours, when it has set them and high contrast is off.
LRESULT CDialog::OnCtlColor(WPARAM wParam, LPARAM)
{
    const DialogColours& colours = m_context.colours;
    if (!colours.brush || m_context.highContrast())
        return Default();
    const auto dc = reinterpret_cast<HDC>(wParam);
    ::SetBkColor(dc, colours.background);
    ::SetTextColor(dc, colours.text);
    return reinterpret_cast<LRESULT>(colours.brush.get());
}

// What each control draws depends on the system's colours and on high contrast, both read
// as it paints: all of it is painted again.
void CDialog::OnSysColorChange()
{
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

LRESULT CDialog::OnSettingChange(WPARAM setting, LPARAM)
{
    if (setting == SPI_SETHIGHCONTRAST)
        OnSysColorChange();
    return 0;
}
