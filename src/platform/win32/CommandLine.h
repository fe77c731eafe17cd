// The program's arguments, from the wide command line.
#pragma once

#include "platform/Strings.h"

// Each argument after the program's name (argv of wmain), in the ANSI code page. The wide
// arguments are taken rather than the C runtime's ANSI argv so that quotes, and a Big5
// character whose second byte is a backslash, reach the program whole.
CStringArray AnsiArguments(int count, wchar_t** arguments);
