// The family name by which a font file's font is created once the file is loaded, read
// from its naming table.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/Files.h"

// The longest face name a font can be asked for by (LOGFONT's 32 characters, less the NUL).
inline constexpr std::size_t kLongestFaceName = 31;

// The family name (name 1) of the Windows platform's Unicode records, in US English when
// there is one, else the first; nullopt when the file is not a TrueType font, has no such
// record that lies inside its naming table, or the name is empty, holds a NUL or is
// longer than a face name can be.
std::optional<std::u16string> ReadFontFamilyName(ReadableFile& font);
