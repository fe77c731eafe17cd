// What the window's model needs of the window that shows the links.
#pragma once

#include "platform/Strings.h"

class LinkWindow {
public:
    virtual ~LinkWindow() = default;

    // The selected row of the font list, or -1 when none is selected.
    virtual int GetSelectedRow() const = 0;
    // Asks the user for an EUDC file; false when the user cancels or the dialog fails.
    virtual bool ChooseEudcFile(CString& path) = 0;
    // A modal message owned by the window, with an OK button only.
    virtual void ShowMessage(const char* text) = 0;
    // Redraws the whole window, every row of the list included.
    virtual void RepaintAll() = 0;
    // The window's own change has reached the key, which is read again next: changes that
    // the key tells of from now on are other programs'.
    virtual void KeyWritten() = 0;
};
