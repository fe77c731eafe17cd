// The system's installed font families, as the model needs to see them.
#pragma once

#include <functional>
#include <vector>

#include "platform/Strings.h"

namespace fonts {

// Font types and character sets, as Win32 numbers them (Win32FontSource.cpp checks each
// against its constant).
inline constexpr unsigned kRaster = 1;             // RASTER_FONTTYPE
inline constexpr unsigned kDevice = 2;             // DEVICE_FONTTYPE
inline constexpr unsigned kTrueType = 4;           // TRUETYPE_FONTTYPE
inline constexpr unsigned kShiftJisCharSet = 128;  // SHIFTJIS_CHARSET
inline constexpr unsigned kHangulCharSet = 129;    // HANGUL_CHARSET
inline constexpr unsigned kJohabCharSet = 130;     // JOHAB_CHARSET
inline constexpr unsigned kGb2312CharSet = 134;    // GB2312_CHARSET
inline constexpr unsigned kBig5CharSet = 136;      // CHINESEBIG5_CHARSET

}  // namespace fonts

struct EnumeratedFont {
    CString faceName;      // at most 31 bytes
    unsigned charSet;      // the LOGFONT's lfCharSet, 0 to 255
    unsigned fontType;     // fonts::kRaster, kDevice, kTrueType, or a combination
    // Every character set the family was reported with (Wine reports a family once for
    // each), `charSet` among them; empty when only `charSet` is known.
    std::vector<unsigned> charSets = {};
};

// Called once per reported family; a zero result ends the enumeration.
using FontVisitor = std::function<int(const EnumeratedFont&)>;

class FontSource {
public:
    virtual ~FontSource() = default;
    // Reports one font per installed family, in the platform's order.
    virtual void EnumerateFamilies(const FontVisitor& visit) = 0;
    // Reports the family of that name (found without regard to case), if it is installed:
    // far cheaper than all of them when many are.
    virtual void EnumerateFamily(const CString& faceName, const FontVisitor& visit) = 0;
};
