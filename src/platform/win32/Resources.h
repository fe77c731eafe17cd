// Resources of a module, as the program's dialogs read them.
#pragma once

#include <windows.h>

#include "platform/Strings.h"

// The text of a string resource; empty when there is none.
CString LoadResourceString(HINSTANCE module, UINT id);
