// A bitmap that the object owns, loaded from a module's resources.
#pragma once

#include <windows.h>

#include "platform/win32/UniqueHandle.h"

class CBitmap {
public:
    CBitmap() = default;
    virtual ~CBitmap() = default;
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;

    // Replaces the image with the bitmap resource `id` of `module`; false if there is none.
    bool LoadBitmap(HINSTANCE module, UINT id);

    HBITMAP GetSafeHandle() const { return m_hObject.get(); }
    // The image's description (a BITMAP of `size` bytes); the bytes stored, 0 if none.
    int GetObject(int size, void* buffer) const { return ::GetObjectA(m_hObject.get(), size, buffer); }

protected:
    GdiObject<HBITMAP> m_hObject;
};
