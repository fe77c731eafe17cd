// A dialog run modally from a template. The platform's dialog procedure hands each
// message to the dialog object, found through the window's DWLP_USER, and its message
// map names the member that handles it; what the map does not name, the platform's
// dialog manager handles.
#pragma once

#include <windows.h>

#include "platform/win32/DialogContext.h"
#include "platform/win32/MessageMap.h"
#include "platform/win32/Wnd.h"

class CDialog : public CWnd {
public:
    CDialog(const DialogContext& context, UINT templateId);
    ~CDialog() override;

    // Runs the dialog until it ends: IDOK, IDCANCEL, or -1 when the template cannot be
    // loaded or the window cannot be created.
    INT_PTR DoModal(HWND owner = nullptr);

    // 0x20000 plus the template id: the help topic of this dialog.
    DWORD GetHelpTopic() const { return 0x20000 + m_templateId; }

    // The dialog object behind a window, or null if the window is not one of ours.
    static CDialog* FromHandle(HWND window);

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual const MessageMap& GetMessageMap() const;

    void OnOK() { EndDialog(IDOK); }
    void OnCancel() { EndDialog(IDCANCEL); }
    void EndDialog(int result) const { ::EndDialog(m_hWnd, result); }

    // The platform's default handling of the message being handled, from inside its
    // handler. The handlers that ask for it (painting, system commands, owner drawing)
    // get what the dialog manager itself would do for them: the window's default.
    LRESULT Default();
    // A modal box owned by this dialog, titled with the application's name.
    int MessageBox(const char* text, UINT type = MB_OK) const;

    const DialogContext& m_context;

    static const MessageMapEntry messageEntries[];
    static const MessageMap messageMap;

private:
    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    const MessageMapEntry* FindHandler(UINT message, WPARAM wParam) const;
    INT_PTR Dispatch(const MessageMapEntry& entry, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCtlColor(WPARAM wParam, LPARAM lParam);
    void OnSysColorChange();
    LRESULT OnSettingChange(WPARAM setting, LPARAM);

    UINT m_templateId;
    CurrentMessage m_current{};
};
