// eudclink: the links of the key from a command line, for scripts.
#pragma once

#include <string>
#include <vector>

#include "console/Eudclink.h"

// Runs one command line: the arguments after the program's name, as the system gives
// them in UTF-16. They are converted to the code page that --codepage names, the
// system's without it.
int RunEudclink(const Eudclink& with, const std::vector<std::u16string>& arguments);
