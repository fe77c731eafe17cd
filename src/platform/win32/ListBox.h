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
    LPARAM GetItemData(int row) const { return SendMessage(LB_GETITEMDATA, row); }
    void SetItemData(int row, LPARAM data) const { SendMessage(LB_SETITEMDATA, row, data); }
    int GetTopIndex() const { return static_cast<int>(SendMessage(LB_GETTOPINDEX)); }
    void SetTopIndex(int row) const { SendMessage(LB_SETTOPINDEX, row); }
    // Repaints one row.
    void InvalidateRow(int row) const
    {
        RECT rect{};
        if (SendMessage(LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect)) != LB_ERR)
            InvalidateRect(&rect, true);
    }
};
