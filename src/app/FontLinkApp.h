// The application: sets the dialog colours and runs the main dialog.
#pragma once

#include "platform/win32/WinApp.h"
#include "ui/FontLinkDlg.h"

class CFontLinkApp : public CWinApp {
public:
    ~CFontLinkApp() override;
    BOOL InitInstance() override;

    // The main dialog, which opens the About box over itself.
    CFontLinkDlg MainDialog();
};

extern CFontLinkApp theApp;
