// A font file loaded for this process only (FR_PRIVATE: never installed, never seen by
// other programs), and removed again when the object ends.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/UniqueHandle.h"

class PrivateFont {
public:
    // Loads the file at `path` whose family is `face`. The path is UTF-16, as the port that
    // found it converts its code page, which need not be the system's.
    PrivateFont(std::u16string path, std::u16string face);
    ~PrivateFont();
    PrivateFont(const PrivateFont&) = delete;
    PrivateFont& operator=(const PrivateFont&) = delete;

    // The file's font with an em of `pixels`, drawn without smoothing so that a picture of
    // it is the same on every surface; null when the file is not loaded.
    GdiObject<HFONT> Create(int pixels) const;

private:
    std::wstring m_path;
    std::u16string m_face;
    bool m_loaded;
};
