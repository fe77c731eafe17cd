// eudclink.exe's start: the ports of the model on Win32, and the command line. It needs no
// window and no display.
#include "console/RunEudclink.h"
#include "platform/win32/AnsiCodePage.h"
#include "platform/win32/CommandLine.h"
#include "drawing/ChartPictures.h"
#include "platform/win32/Win32CodePages.h"
#include "platform/win32/Win32Console.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32FontSource.h"
#include "platform/win32/Win32Hashing.h"
#include "platform/win32/Win32Libraries.h"
#include "platform/win32/Win32Registry.h"

int wmain(int count, wchar_t** arguments)
{
    // Files and fonts take and give names in the code page that --codepage chooses.
    Win32CodePages codePages;
    Win32Registry registry;
    Win32Libraries libraries;
    Win32FontSource fonts(&codePages);
    Win32Files files(&codePages);
    Win32Console console;
    Win32Hashing hashing;
    ChartPictures charts(&codePages);
    Eudclink with{{registry, libraries, fonts, files, kAnsiCodePage}, console, VELTRANE_VERSION, codePages, hashing};
    with.charts = &charts;
    return RunEudclink(with, WideArguments(count, arguments));
}
