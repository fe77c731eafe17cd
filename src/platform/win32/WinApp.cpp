#include "platform/win32/WinApp.h"

#include <shlwapi.h>

#include "platform/win32/Dialog.h"
#include "platform/win32/FrameworkResources.h"
#include "platform/win32/DialogKeyFilter.h"
#include "platform/win32/Resources.h"

int CWinApp::Run(HINSTANCE instance)
{
    Initialize(instance);
    // F1 without Shift, Ctrl or Alt asks for help with the window it went to.
    const DialogKeyFilter helpKey(VK_F1, 0, [this](HWND window) { return OnHelp(window); });
    // The program has no message loop of its own: it ends when InitInstance returns.
    InitInstance();
    return ExitInstance();
}

void CWinApp::Initialize(HINSTANCE instance)
{
    m_dialogs.instance = instance;
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(instance, path, MAX_PATH);

    // The path functions walk Big5 text by characters, so a trail byte 0x5C is no
    // separator to them.
    CString name = ::PathFindFileNameA(path);
    name.resize(::PathFindExtensionA(name.c_str()) - name.c_str());
    m_dialogs.appName = name;

    ::PathRenameExtensionA(path, ".HLP");
    m_helpFilePath = path;
}

void CWinApp::SetDialogBkColor(COLORREF background, COLORREF text)
{
    m_dialogs.colours.brush.reset(::CreateSolidBrush(background));
    m_dialogs.colours.background = background;
    m_dialogs.colours.text = text;
}

// The help goes to the window that owns them all, the main dialog, also for the About box.
bool CWinApp::OnHelp(HWND window)
{
    for (; window != nullptr; window = ::GetParent(window)) {
        if (const CDialog* dialog = CDialog::FromHandle(window)) {
            WinHelp(::GetAncestor(window, GA_ROOTOWNER), dialog->GetHelpTopic());
            return true;
        }
    }
    return false;
}

void CWinApp::WinHelp(HWND owner, DWORD topic, UINT command)
{
    if (!m_helpViewer(owner, m_helpFilePath.c_str(), command, topic)) {
        const CString text = LoadResourceString(m_dialogs.instance, IDS_FAILED_TO_LAUNCH_HELP);
        ::MessageBoxA(owner, text.c_str(), m_dialogs.appName.c_str(), MB_OK);
    }
}
