// The application object: the one object that the entry point finds and runs, and that
// keeps what the whole program shares (its names, its dialog colours, its help file).
#pragma once

#include <windows.h>

#include <span>

#include "platform/Strings.h"
#include "platform/win32/GdiObjects.h"
#include "platform/win32/Wnd.h"

inline constexpr UINT ID_HELP = 0xE146;

class CWinApp;

struct CommandMapEntry {
    UINT id;
    void (CWinApp::*handler)();
};

class CWinApp {
public:
    // Registers this object as the application; there is exactly one.
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    static CWinApp* Current();

    // What the entry point does: Initialize, run InitInstance, then end with the result
    // of ExitInstance.
    int Run(HINSTANCE instance);
    // Takes the instance and the names derived from the executable's file name.
    void Initialize(HINSTANCE instance);

    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance() { return 0; }

    // Handles a command that no window handled; false if the command map has no entry.
    bool OnCommand(UINT id);

    void SetDialogBkColor(COLORREF background = RGB(192, 192, 192), COLORREF text = RGB(0, 0, 0));
    HICON LoadIcon(UINT id) const;

    // Asks the help viewer for the topic of the dialog with the keyboard focus, or of
    // one of the focus window's parents, or of the main window.
    void OnHelp();
    // Starts the help viewer on the help file; says so when it cannot start.
    void WinHelp(DWORD topic, UINT command = HELP_CONTEXT);

    // The help viewer; replaceable so that tests can see what is asked of it.
    using HelpViewer = BOOL(WINAPI*)(HWND window, LPCSTR helpFile, UINT command, ULONG_PTR data);
    HelpViewer m_helpViewer = &::WinHelpA;

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;
    CString m_appName;       // the executable's file name without directory and extension
    CString m_helpFilePath;  // the executable's path with the extension ".HLP"

    GdiObject<HBRUSH> m_dialogBrush;
    COLORREF m_dialogBkColor = 0;
    COLORREF m_dialogTextColor = 0;

protected:
    virtual std::span<const CommandMapEntry> GetCommandMap() const { return {}; }
};

// The text of a string resource of the executable.
CString LoadResourceString(UINT id);

// Turns F1 in the program's dialogs, without Shift, Ctrl or Alt, into the command
// ID_HELP for the main window, for as long as it exists.
class HelpKeyFilter {
public:
    HelpKeyFilter();
    ~HelpKeyFilter();
    HelpKeyFilter(const HelpKeyFilter&) = delete;
    HelpKeyFilter& operator=(const HelpKeyFilter&) = delete;

private:
    static LRESULT CALLBACK FilterProc(int code, WPARAM wParam, LPARAM lParam);
    HHOOK m_hook;
};
