// The program's application object as its start makes it, with the ports of the model on
// Win32, initialised as the entry point would but not run: each test that opens a dialog
// makes its own, so that no test sees another's changes.
#pragma once

#include <windows.h>

#include "app/FontLinkApp.h"
#include "platform/win32/AnsiCodePage.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32FontSource.h"
#include "platform/win32/Win32Libraries.h"
#include "platform/win32/Win32Registry.h"

class TestApp {
public:
    // The installed fonts and the prefix's files, or those given.
    explicit TestApp(FontSource* fonts = nullptr, Files* files = nullptr)
        : m_ports{m_registry, m_libraries, fonts != nullptr ? *fonts : m_fonts, files != nullptr ? *files : m_files,
                  kAnsiCodePage},
          app(m_ports)
    {
        app.Initialize(::GetModuleHandleA(nullptr));
        app.SetDialogBkColor(RGB(192, 192, 192), RGB(0, 0, 0));
    }
    TestApp(const TestApp&) = delete;
    TestApp& operator=(const TestApp&) = delete;

private:
    Win32Registry m_registry;
    Win32Libraries m_libraries;
    Win32FontSource m_fonts;
    static inline Win32Files m_files{nullptr};  // for the whole process, as the window's checks may be
    const LinkPorts m_ports;

public:
    CFontLinkApp app;
};
