// The application object, which the entry point makes and runs. It takes the program's
// name and its help file from the executable's file name, and keeps what its dialogs
// share.
#pragma once

#include <windows.h>

#include "platform/Strings.h"
#include "platform/win32/DialogContext.h"

class CWinApp {
public:
    CWinApp() = default;
    virtual ~CWinApp() = default;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // What the entry point does: Initialize, run InitInstance with F1 turned into help
    // requests, then end with the result of ExitInstance.
    int Run(HINSTANCE instance);
    // Takes the instance and the names derived from the executable's file name.
    void Initialize(HINSTANCE instance);

    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance() { return 0; }

    void SetDialogBkColor(COLORREF background = RGB(192, 192, 192), COLORREF text = RGB(0, 0, 0));

    // Asks the help viewer for the topic of the dialog of ours that `window` is, or is
    // inside of; false when it is none of ours.
    bool OnHelp(HWND window);
    // Starts the help viewer on the help file; says so when it cannot start.
    void WinHelp(HWND owner, DWORD topic, UINT command = HELP_CONTEXT);

    // The help viewer; replaceable so that tests can see what is asked of it.
    using HelpViewer = BOOL(WINAPI*)(HWND window, LPCSTR helpFile, UINT command, ULONG_PTR data);
    HelpViewer m_helpViewer = &::WinHelpA;

    DialogContext m_dialogs;
    CString m_helpFilePath;  // the executable's path with the extension ".HLP"
};
