// The open-file dialog that asks for an EUDC file: the older style, with no owner.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include "platform/Strings.h"

// Returns TRUE for WM_INITDIALOG and FALSE for the rest, leaving everything to the
// dialog; that a hook is named at all is what selects the older style.
UINT_PTR CALLBACK OpenFileHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

class EudcFileDialog {
public:
    EudcFileDialog();
    EudcFileDialog(const EudcFileDialog&) = delete;
    EudcFileDialog& operator=(const EudcFileDialog&) = delete;

    // False when the user cancels or the dialog fails.
    bool DoModal();
    // The chosen file's full path.
    CString GetPathName() const;

private:
    OPENFILENAMEA m_ofn{};
    char m_file[MAX_PATH]{};  // empty: no file name is proposed
};
