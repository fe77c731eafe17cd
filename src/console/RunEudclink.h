// eudclink: the links of the key from a command line, for scripts.
#pragma once

#include "platform/Strings.h"
#include "console/Eudclink.h"

// Runs one command line (the arguments after the program's name, in the ANSI code page).
int RunEudclink(const Eudclink& with, const CStringArray& arguments);
