#include "platform/win32/Win32FontSource.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/FamilyReports.h"
#include "platform/win32/UniqueHandle.h"

static_assert(fonts::kRaster == RASTER_FONTTYPE);
static_assert(fonts::kDevice == DEVICE_FONTTYPE);
static_assert(fonts::kTrueType == TRUETYPE_FONTTYPE);
static_assert(fonts::kShiftJisCharSet == SHIFTJIS_CHARSET);
static_assert(fonts::kHangulCharSet == HANGUL_CHARSET);
static_assert(fonts::kJohabCharSet == JOHAB_CHARSET);
static_assert(fonts::kGb2312CharSet == GB2312_CHARSET);
static_assert(fonts::kBig5CharSet == CHINESEBIG5_CHARSET);

namespace {

int CALLBACK RecordFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD fontType, LPARAM reports)
{
    const auto length = ::strnlen(font->lfFaceName, LF_FACESIZE);
    reinterpret_cast<std::vector<EnumeratedFont>*>(reports)->push_back(
        {CString(font->lfFaceName, length), static_cast<BYTE>(font->lfCharSet), fontType});
    return 1;
}

// `faceName` null: every family.
void Enumerate(const char* faceName, const FontVisitor& visit)
{
    std::vector<EnumeratedFont> reports;
    const MemoryDC screen(::CreateCompatibleDC(nullptr));
    ::EnumFontFamiliesA(screen.get(), faceName, RecordFamily, reinterpret_cast<LPARAM>(&reports));
    for (const EnumeratedFont& family : OneReportPerFamily(reports)) {
        if (visit(family) == 0)
            break;
    }
}

}  // namespace

void Win32FontSource::EnumerateFamilies(const FontVisitor& visit)
{
    Enumerate(nullptr, visit);
}

void Win32FontSource::EnumerateFamily(const CString& faceName, const FontVisitor& visit)
{
    if (faceName.size() < LF_FACESIZE)  // no longer name is installed
        Enumerate(faceName.c_str(), visit);
}
