// The program's arguments, from the wide command line.
#pragma once

#include <string>
#include <vector>

// Each argument after the program's name (argv of wmain), in UTF-16. The wide arguments
// are taken rather than the C runtime's ANSI argv so that quotes, and a Big5 character
// whose second byte is a backslash, reach the program whole, and so that the program can
// convert them to the code page it works in.
std::vector<std::u16string> WideArguments(int count, wchar_t** arguments);
