// Charts of a font file's characters drawn by GDI into memory and encoded by WIC.
#pragma once

#include "platform/CharacterCharts.h"

class Win32CharacterCharts : public CharacterCharts {
public:
    bool DrawPng(const CString& font, const std::u16string& face, std::span<const char32_t> characters,
                 std::string& png) override;
};
