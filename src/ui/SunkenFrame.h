// A sunken bevel drawn just outside a rectangle, two lines deep: dark above and to the
// left, light below and to the right, so that a borderless control looks set into the
// dialog.
#pragma once

#include <windows.h>

#include "platform/win32/DC.h"
#include "ui/Palette.h"

// `rect` is the control's rectangle in the context's coordinates (right and bottom one
// past its last pixel), each line `lineWidth` pixels wide. The columns from `rect.right`
// and the rows from `rect.bottom`, one line wide, are left as they are: the dialog's own
// grey there is the bevel's light inner edge.
void DrawSunkenFrame(const CDC& dc, const RECT& rect, const FrameColours& colours = kClassicFrame, int lineWidth = 1);
