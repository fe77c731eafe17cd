#include "platform/win32/PrivateFont.h"

#include <algorithm>

PrivateFont::PrivateFont(std::u16string path, std::u16string face)
    : m_path(path.begin(), path.end()),
      m_face(std::move(face)),
      m_loaded(::AddFontResourceExW(m_path.c_str(), FR_PRIVATE, nullptr) > 0)
{
}

PrivateFont::~PrivateFont()
{
    if (m_loaded)
        ::RemoveFontResourceExW(m_path.c_str(), FR_PRIVATE, nullptr);
}

GdiObject<HFONT> PrivateFont::Create(int pixels) const
{
    if (!m_loaded || m_face.size() >= LF_FACESIZE)
        return {};
    LOGFONTW font{};
    font.lfHeight = -pixels;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    font.lfQuality = NONANTIALIASED_QUALITY;
    std::copy(m_face.begin(), m_face.end(), font.lfFaceName);
    GdiObject<HFONT> created(::CreateFontIndirectW(&font));
    // The system gives another font when it finds none of that name: then no font at all,
    // so that nothing is ever drawn in place of the file's own glyphs.
    const MemoryDC dc(::CreateCompatibleDC(nullptr));
    const Selection selected = Select(dc.get(), created.get());
    wchar_t face[LF_FACESIZE] = {};
    ::GetTextFaceW(dc.get(), LF_FACESIZE, face);
    if (std::u16string(reinterpret_cast<const char16_t*>(face)) != m_face)
        return {};
    return created;
}
