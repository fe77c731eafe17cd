// Text as the program keeps it: bytes of the ANSI code page (950, Big5), the form that
// the A functions of Win32 take and give.
#pragma once

#include <string>
#include <vector>

using CString = std::string;
using CStringArray = std::vector<CString>;
