#include "platform/win32/Win32FontSource.h"

#include <cstring>
#include <vector>

#include "platform/FamilyReports.h"
#include "platform/win32/UniqueHandle.h"

namespace {

int CALLBACK RecordFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD fontType, LPARAM reports)
{
    const auto length = ::strnlen(font->lfFaceName, LF_FACESIZE);
    reinterpret_cast<std::vector<EnumeratedFont>*>(reports)->push_back(
        {CString(font->lfFaceName, length), static_cast<BYTE>(font->lfCharSet), fontType});
    return 1;
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

void Win32FontSource::Enumerate(const char* faceName, const FontVisitor& visit)
{
    std::vector<EnumeratedFont> reports;
    const auto enumerateOn = [&](HDC dc) {
        ::EnumFontFamiliesA(dc, faceName, RecordFamily, reinterpret_cast<LPARAM>(&reports));
    };
    if (m_window)
        enumerateOn(GetClientDC(m_window).get().dc);
    else
        enumerateOn(MemoryDC(::CreateCompatibleDC(nullptr)).get());
    for (const EnumeratedFont& family : OneReportPerFamily(reports)) {
        if (visit(family) == 0)
            break;
    }
}
