// VELTRANE.EXE's start: the ports of the model on Win32, and the application that runs
// the main dialog with them.
#include <windows.h>

#include <cstdlib>

#include "app/FontLinkApp.h"
#include "platform/win32/AnsiCodePage.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32FontSource.h"
#include "platform/win32/Win32Libraries.h"
#include "platform/win32/Win32Registry.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    Win32Registry registry;
    Win32Libraries libraries;
    Win32FontSource fonts;
    Win32Files files;
    const LinkPorts ports{registry, libraries, fonts, files, kAnsiCodePage};
    CFontLinkApp theApp(ports);
    // The process ends with the ports still alive: a check abandoned on a file that does not
    // answer may use them until then. Ending the process ends its thread too.
    std::exit(theApp.Run(instance));
}
