// Charts of a font file's characters drawn by GDI into memory and encoded by WIC.
#pragma once

#include "platform/CharacterCharts.h"
#include "platform/win32/Win32CodePages.h"

class ChartPictures : public CharacterCharts {
public:
    // Font paths in the code page that `codePages` uses; the system's without it.
    explicit ChartPictures(const Win32CodePages* codePages = nullptr) : m_codePages(codePages) {}

    bool DrawPng(const CString& font, const std::u16string& face, std::span<const char32_t> characters,
                 std::string& png) override;

private:
    const Win32CodePages* m_codePages;
};
