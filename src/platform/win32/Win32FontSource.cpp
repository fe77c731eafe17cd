#include "platform/win32/Win32FontSource.h"

#include <windows.h>

#include <cwchar>
#include <vector>

#include "platform/FamilyReports.h"
#include "platform/win32/AnsiCodePage.h"
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

struct Reports {
    unsigned codePage;
    std::vector<EnumeratedFont> fonts;
};

int CALLBACK RecordFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD fontType, LPARAM reports)
{
    auto& to = *reinterpret_cast<Reports*>(reports);
    const auto length = ::wcsnlen(font->lfFaceName, LF_FACESIZE);
    const std::u16string_view name(reinterpret_cast<const char16_t*>(font->lfFaceName), length);
    to.fonts.push_back({ToCodePage(to.codePage, name), static_cast<BYTE>(font->lfCharSet), fontType});
    return 1;
}

}  // namespace

// `faceName` null: every family.
void Win32FontSource::Enumerate(const wchar_t* faceName, const FontVisitor& visit)
{
    Reports reports{CodePageOf(m_codePages), {}};
    const MemoryDC screen(::CreateCompatibleDC(nullptr));
    ::EnumFontFamiliesW(screen.get(), faceName, RecordFamily, reinterpret_cast<LPARAM>(&reports));
    for (const EnumeratedFont& family : OneReportPerFamily(reports.fonts)) {
        if (visit(family) == 0)
            break;
    }
}

void Win32FontSource::EnumerateFamilies(const FontVisitor& visit)
{
    Enumerate(nullptr, visit);
}

void Win32FontSource::EnumerateFamily(const CString& faceName, const FontVisitor& visit)
{
    const std::u16string wide = ToWide(CodePageOf(m_codePages), faceName);
    if (!wide.empty() && wide.size() < LF_FACESIZE)  // no family has an empty or a longer name
        Enumerate(reinterpret_cast<const wchar_t*>(wide.c_str()), visit);
}
