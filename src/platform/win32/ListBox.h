// A list control, as the main dialog uses it.
#pragma once

#include <windows.h>

#include "platform/Strings.h"
#include "platform/win32/Wnd.h"

class CListBox : public CWnd {
public:
    // The selected row, or LB_ERR (-1) when none is selected.
    int GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
    void SetCurSel(int row) const { SendMessage(LB_SETCURSEL, row); }
    void ResetContent() const { SendMessage(LB_RESETCONTENT); }
    // Inserts at `row` (-1: after the last row); unlike adding, never sorts.
    void InsertString(int row, const CString& text) const
    {
        SendMessage(LB_INSERTSTRING, row, reinterpret_cast<LPARAM>(text.c_str()));
    }
};
