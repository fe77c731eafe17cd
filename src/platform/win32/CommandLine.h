// The program's arguments, from the wide command line.
#pragma once

#include "platform/Strings.h"

// Each argument after the program's name, in the ANSI code page. The wide command line
// is split rather than the C runtime's argv so that quotes, and a Big5 character whose
// second byte is a backslash, reach the program whole.
CStringArray CommandLineArguments();
