// The application: sets the dialog colours and runs the main dialog.
#pragma once

#include "platform/win32/WinApp.h"

class CFontLinkApp : public CWinApp {
public:
    ~CFontLinkApp() override;
    BOOL InitInstance() override;

protected:
    std::span<const CommandMapEntry> GetCommandMap() const override;
};

extern CFontLinkApp theApp;
