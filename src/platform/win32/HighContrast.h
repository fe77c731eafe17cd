// Whether the user has turned high contrast on: the program then draws in the system's
// colours alone.
#pragma once

bool IsHighContrastOn();
