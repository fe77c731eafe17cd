// The About box: icon, title, notice and today's date.
#pragma once

#include "platform/win32/Dialog.h"

class CAboutBox : public CDialog {
public:
    CAboutBox();

protected:
    BOOL OnInitDialog() override;
};
