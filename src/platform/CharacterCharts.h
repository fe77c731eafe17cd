// Pictures of a font file's characters, drawn by the system from the file itself.
#pragma once

#include <span>
#include <string>

#include "platform/Strings.h"

class CharacterCharts {
public:
    virtual ~CharacterCharts() = default;

    // The grid of `characters` as the window's character view draws its cells, every row,
    // in the font of the file `font` (full path) whose family is `face`, loaded for this
    // process only, as a PNG file's bytes; false when the font cannot be loaded or the
    // picture cannot be made.
    virtual bool DrawPng(const CString& font, const std::u16string& face, std::span<const char32_t> characters,
                         std::string& png) = 0;
};
