// The installed font families of a window's screen, from EnumFontFamiliesA.
#pragma once

#include <windows.h>

#include "platform/FontSource.h"

class Win32FontSource : public FontSource {
public:
    // The fonts of the window's screen; without a window, those a memory context sees,
    // which are the same and need no display.
    explicit Win32FontSource(HWND window) : m_window(window) {}
    void EnumerateFamilies(const FontVisitor& visit) override;
    void EnumerateFamily(const CString& faceName, const FontVisitor& visit) override;

private:
    void Enumerate(const char* faceName, const FontVisitor& visit);

    HWND m_window;
};
