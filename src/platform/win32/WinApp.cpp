#include "platform/win32/WinApp.h"

#include <shlwapi.h>

#include "platform/win32/Dialog.h"
#include "resource.h"

namespace {

CWinApp* theApplication = nullptr;

bool IsKeyDown(int key)
{
    return ::GetKeyState(key) < 0;
}

}  // namespace

CWinApp::CWinApp()
{
    theApplication = this;
}

CWinApp::~CWinApp()
{
    theApplication = nullptr;
}

CWinApp* CWinApp::Current()
{
    return theApplication;
}

int CWinApp::Run(HINSTANCE instance)
{
    Initialize(instance);
    const HelpKeyFilter helpKey;
    // The program has no message loop of its own: it ends when InitInstance returns.
    InitInstance();
    return ExitInstance();
}

void CWinApp::Initialize(HINSTANCE instance)
{
    m_hInstance = instance;
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(instance, path, MAX_PATH);

    // The path functions walk Big5 text by characters, so a trail byte 0x5C is no
    // separator to them.
    CString name = ::PathFindFileNameA(path);
    name.resize(::PathFindExtensionA(name.c_str()) - name.c_str());
    m_appName = name;

    ::PathRenameExtensionA(path, ".HLP");
    m_helpFilePath = path;
}

bool CWinApp::OnCommand(UINT id)
{
    for (const CommandMapEntry& entry : GetCommandMap()) {
        if (entry.id == id) {
            (this->*entry.handler)();
            return true;
        }
    }
    return false;
}

void CWinApp::SetDialogBkColor(COLORREF background, COLORREF text)
{
    m_dialogBrush.reset(::CreateSolidBrush(background));
    m_dialogBkColor = background;
    m_dialogTextColor = text;
}

HICON CWinApp::LoadIcon(UINT id) const
{
    return ::LoadIconA(m_hInstance, MAKEINTRESOURCEA(id));
}

void CWinApp::OnHelp()
{
    for (HWND window = ::GetFocus(); window != nullptr; window = ::GetParent(window)) {
        if (const CDialog* dialog = CDialog::FromHandle(window)) {
            WinHelp(dialog->GetHelpTopic());
            return;
        }
    }
    if (const auto* mainDialog = dynamic_cast<const CDialog*>(m_pMainWnd))
        WinHelp(mainDialog->GetHelpTopic());
}

void CWinApp::WinHelp(DWORD topic, UINT command)
{
    const CWnd owner(m_pMainWnd != nullptr ? m_pMainWnd->m_hWnd : nullptr);
    if (!m_helpViewer(owner.m_hWnd, m_helpFilePath.c_str(), command, topic))
        owner.MessageBox(LoadResourceString(IDS_FAILED_TO_LAUNCH_HELP).c_str());
}

CString LoadResourceString(UINT id)
{
    char text[256] = {};
    const int length = ::LoadStringA(CWinApp::Current()->m_hInstance, id, text, sizeof text);
    return CString(text, length);
}

HelpKeyFilter::HelpKeyFilter()
    : m_hook(::SetWindowsHookExA(WH_MSGFILTER, FilterProc, nullptr, ::GetCurrentThreadId()))
{
}

HelpKeyFilter::~HelpKeyFilter()
{
    ::UnhookWindowsHookEx(m_hook);
}

// Dialog boxes pass each message here before they handle it (MSGF_DIALOGBOX).
LRESULT CALLBACK HelpKeyFilter::FilterProc(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    const CWnd* mainWindow = CWinApp::Current()->m_pMainWnd;
    if (code == MSGF_DIALOGBOX && message->message == WM_KEYDOWN && message->wParam == VK_F1 &&
        !IsKeyDown(VK_SHIFT) && !IsKeyDown(VK_CONTROL) && !IsKeyDown(VK_MENU) &&
        mainWindow != nullptr && mainWindow->m_hWnd != nullptr) {
        mainWindow->SendMessage(WM_COMMAND, ID_HELP);
        return TRUE;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
