// The lead-byte rule of the ANSI code page the program runs under.
#pragma once

#include <windows.h>

inline bool IsAnsiLeadByte(unsigned char byte)
{
    return ::IsDBCSLeadByte(byte) != FALSE;
}
