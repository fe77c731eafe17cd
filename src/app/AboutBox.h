// The About box: icon, title, notice and today's date.
#pragma once

#include "platform/win32/Dialog.h"

class CAboutBox : public CDialog {
public:
    explicit CAboutBox(const DialogContext& context);

protected:
    BOOL OnInitDialog() override;
};
