// What the program's dialogs share, handed to each of them by the application: the
// module that holds their templates and strings, the colours of their surfaces, the
// name their message boxes are titled with, the display's scale, and whether high contrast
// is on.
#pragma once

#include <windows.h>

#include "platform/Strings.h"
#include "platform/win32/DisplayScale.h"
#include "platform/win32/HighContrast.h"
#include "platform/win32/UniqueHandle.h"

struct DialogColours {
    GdiObject<HBRUSH> brush;  // null until the application sets the colours
    COLORREF background = 0;
    COLORREF text = 0;
};

struct DialogContext {
    HINSTANCE instance = nullptr;
    CString appName;  // the executable's file name without directory and extension
    DialogColours colours;
    int dpi = SystemDpi();
    // Asked whenever a dialog draws. Replaceable so that tests can turn high contrast on:
    // Wine 8 always answers that it is off and refuses SPI_SETHIGHCONTRAST.
    bool (*highContrast)() = &IsHighContrastOn;
};
