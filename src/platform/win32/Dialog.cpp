#include "platform/win32/Dialog.h"

#include "platform/win32/WinApp.h"

namespace {

// Marks a window as one of our dialogs and leads back to its object.
constexpr char kDialogProperty[] = "veltrane.CDialog";

}  // namespace

const MessageMapEntry CDialog::messageEntries[] = {
    OnCommand<&CDialog::OnOK>(BN_CLICKED, IDOK),
    OnCommand<&CDialog::OnCancel>(BN_CLICKED, IDCANCEL),
    OnMessage<&CDialog::OnCtlColor>(WM_CTLCOLORDLG),
    OnMessage<&CDialog::OnCtlColor>(WM_CTLCOLORSTATIC),
    OnMessage<&CDialog::OnCtlColor>(WM_CTLCOLORBTN),
};

const MessageMap CDialog::messageMap{nullptr, messageEntries};

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_pParentWnd(parent)
{
}

CDialog::~CDialog() = default;

const MessageMap& CDialog::GetMessageMap() const
{
    return messageMap;
}

INT_PTR CDialog::DoModal()
{
    CWinApp* app = CWinApp::Current();
    // Without a parent the main window owns the dialog. For the main dialog itself that
    // is this object, whose window does not exist yet: it has no owner.
    const CWnd* owner = m_pParentWnd != nullptr ? m_pParentWnd : app->m_pMainWnd;
    return ::DialogBoxParamA(app->m_hInstance, MAKEINTRESOURCEA(m_templateId),
                             owner != nullptr ? owner->m_hWnd : nullptr, DialogProc,
                             reinterpret_cast<LPARAM>(this));
}

CDialog* CDialog::FromHandle(HWND window)
{
    return static_cast<CDialog*>(::GetPropA(window, kDialogProperty));
}

// The platform's dialog procedure calls this for every message. Until WM_INITDIALOG the
// window is not ours yet; from then on WindowProc sees each message first and this
// answers "not handled", so that whatever reaches it gets the default handling.
INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    auto* dialog = reinterpret_cast<CDialog*>(lParam);
    dialog->Attach(window);
    return dialog->OnInitDialog();
}

LRESULT CALLBACK CDialog::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog* dialog = FromHandle(window);
    const WNDPROC defaultProc = dialog->m_defaultProc;
    if (message == WM_NCDESTROY) {
        dialog->Detach();
        return ::CallWindowProcA(defaultProc, window, message, wParam, lParam);
    }
    return dialog->Dispatch(message, wParam, lParam);
}

void CDialog::Attach(HWND window)
{
    m_hWnd = window;
    ::SetPropA(window, kDialogProperty, this);
    m_defaultProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc)));
}

void CDialog::Detach()
{
    ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_defaultProc));
    ::RemovePropA(m_hWnd, kDialogProperty);
    CWinApp* app = CWinApp::Current();
    if (app->m_pMainWnd == this)
        app->m_pMainWnd = nullptr;
    m_hWnd = nullptr;
}

LRESULT CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Handlers may run a modal loop of their own, which dispatches more messages to us.
    const CurrentMessage outer = m_current;
    m_current = {message, wParam, lParam};
    LRESULT result;
    if (const MessageMapEntry* entry = FindHandler(message, wParam))
        result = entry->handler(*this, wParam, lParam);
    else if (message == WM_COMMAND && HIWORD(wParam) == 0 &&
             CWinApp::Current()->OnCommand(LOWORD(wParam)))
        result = 0;
    else
        result = Default();
    m_current = outer;
    return result;
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

LRESULT CDialog::Default()
{
    return ::CallWindowProcA(m_defaultProc, m_hWnd, m_current.message, m_current.wParam,
                             m_current.lParam);
}

// The dialog surface, static texts, group boxes and buttons take the application's
// dialog colours, when it has set them.
LRESULT CDialog::OnCtlColor(WPARAM wParam, LPARAM)
{
    const CWinApp* app = CWinApp::Current();
    if (!app->m_dialogBrush)
        return Default();
    const auto dc = reinterpret_cast<HDC>(wParam);
    ::SetBkColor(dc, app->m_dialogBkColor);
    ::SetTextColor(dc, app->m_dialogTextColor);
    return reinterpret_cast<LRESULT>(app->m_dialogBrush.get());
}
