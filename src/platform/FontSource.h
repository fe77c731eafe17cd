// The system's installed font families, as the model needs to see them.
#pragma once

#include <functional>

#include "platform/Strings.h"

struct EnumeratedFont {
    CString faceName;      // at most 31 bytes
    unsigned charSet;      // the LOGFONT's lfCharSet, 0 to 255
    unsigned fontType;     // RASTER_FONTTYPE 1, DEVICE_FONTTYPE 2, TRUETYPE_FONTTYPE 4
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
