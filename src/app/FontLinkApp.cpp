#include "app/FontLinkApp.h"

#include "ui/FontLinkDlg.h"

CFontLinkApp::~CFontLinkApp() = default;

std::span<const CommandMapEntry> CFontLinkApp::GetCommandMap() const
{
    static const CommandMapEntry entries[] = {
        {ID_HELP, &CWinApp::OnHelp},
    };
    return entries;
}

// Runs the main dialog; however it was closed, the program then ends.
BOOL CFontLinkApp::InitInstance()
{
    SetDialogBkColor(RGB(192, 192, 192), RGB(0, 0, 0));
    CFontLinkDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    return FALSE;
}
