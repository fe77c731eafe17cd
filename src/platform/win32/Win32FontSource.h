// The installed font families of a window's screen, from EnumFontFamiliesA.
#pragma once

#include <windows.h>

#include "platform/FontSource.h"

class Win32FontSource : public FontSource {
public:
    // The fonts of the window's screen; of the whole screen when the window is null.
    explicit Win32FontSource(HWND window) : m_window(window) {}
    void EnumerateFamilies(const FontVisitor& visit) override;
    void EnumerateFamily(const CString& faceName, const FontVisitor& visit) override;

private:
    void Enumerate(const char* faceName, const FontVisitor& visit);

    HWND m_window;
};
