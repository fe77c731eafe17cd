// What the program reads from the path of an EUDC file.
#pragma once

#include "platform/CodePage.h"
#include "platform/Strings.h"

// The part after the last backslash, or the whole path when it has none. The second byte
// of a double-byte character is never taken for a backslash, even where it is 0x5C.
CString LinkFileName(const CString& path, LeadByteTest isLeadByte);

// Whether the path ends in ".TTF" or ".TTE", the letters in either case.
bool HasEudcExtension(const CString& path);
