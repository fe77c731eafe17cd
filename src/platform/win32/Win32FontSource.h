// The installed font families, from EnumFontFamiliesW on a memory context compatible with
// the screen: the screen's fonts, which need no window and no display. Names are given
// and taken in the code page the program works in.
#pragma once

#include "platform/FontSource.h"
#include "platform/win32/Win32CodePages.h"

class Win32FontSource : public FontSource {
public:
    // Names in the code page that `codePages` uses; the system's without it.
    explicit Win32FontSource(const Win32CodePages* codePages = nullptr) : m_codePages(codePages) {}

    void EnumerateFamilies(const FontVisitor& visit) override;
    void EnumerateFamily(const CString& faceName, const FontVisitor& visit) override;

private:
    void Enumerate(const wchar_t* faceName, const FontVisitor& visit);

    const Win32CodePages* m_codePages;
};
