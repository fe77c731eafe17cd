// The application: sets the dialog colours and runs the main dialog.
#pragma once

#include "model/FontLinks.h"
#include "platform/win32/WinApp.h"
#include "ui/FontLinkDlg.h"

class CFontLinkApp : public CWinApp {
public:
    // The main dialog reaches the links through `ports`, which outlive the application.
    explicit CFontLinkApp(const LinkPorts& ports);
    ~CFontLinkApp() override;
    BOOL InitInstance() override;

    // The main dialog, which opens the About box over itself.
    CFontLinkDlg MainDialog();

private:
    const LinkPorts& m_ports;
};
