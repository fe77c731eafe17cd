#include "app/FontLinkApp.h"

#include "app/AboutBox.h"

CFontLinkApp::CFontLinkApp(const LinkPorts& ports) : m_ports(ports)
{
}

CFontLinkApp::~CFontLinkApp() = default;

// Runs the main dialog; however it was closed, the program then ends.
BOOL CFontLinkApp::InitInstance()
{
    SetDialogBkColor(RGB(192, 192, 192), RGB(0, 0, 0));
    CFontLinkDlg dialog = MainDialog();
    dialog.DoModal();
    return FALSE;
}

CFontLinkDlg CFontLinkApp::MainDialog()
{
    return CFontLinkDlg(m_dialogs, m_ports, [this](HWND owner) {
        CAboutBox about(m_dialogs);
        about.DoModal(owner);
    });
}
