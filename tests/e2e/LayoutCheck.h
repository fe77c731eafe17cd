// What a user would see wrong in a dialog drawn at the display's scale, found from
// outside the program: a control outside the dialog, two controls over each other, a text
// its control cuts off, rows lower than their text or their picture, a picture or a grid
// that did not grow with the text.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/UniqueHandle.h"

// The font a dialog makes of its template's "System", 12 points, at the screen's scale.
GdiObject<HFONT> DialogFont();

// Each problem of the dialog `dialog` as a line; none when it looks right.
std::vector<std::string> LayoutProblems(HWND dialog);
