// What the program's dialogs share, handed to each of them by the application: the
// module that holds their templates and strings, the colours of their surfaces, and the
// name their message boxes are titled with.
#pragma once

#include <windows.h>

#include "platform/Strings.h"
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
};
