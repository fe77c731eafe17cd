// A dialog run modally from a template, whose messages reach its members through its
// message map. What the map does not handle goes to the platform's dialog procedure.
#pragma once

#include <windows.h>

#include "platform/win32/MessageMap.h"
#include "platform/win32/Wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Runs the dialog until it ends: IDOK, IDCANCEL, or -1 when the template cannot be
    // loaded or the window cannot be created. Without a parent, the application's main
    // window owns it.
    INT_PTR DoModal();

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

    // Hands the message being handled to the platform's dialog procedure.
    LRESULT Default();

    static const MessageMapEntry messageEntries[];
    static const MessageMap messageMap;

private:
    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Attach(HWND window);
    void Detach();
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    const MessageMapEntry* FindHandler(UINT message, WPARAM wParam) const;
    LRESULT OnCtlColor(WPARAM wParam, LPARAM lParam);

    UINT m_templateId;
    CWnd* m_pParentWnd;
    WNDPROC m_defaultProc = nullptr;
    CurrentMessage m_current{};
};
