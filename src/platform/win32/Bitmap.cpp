#include "platform/win32/Bitmap.h"

bool CBitmap::LoadBitmap(HINSTANCE module, UINT id)
{
    m_hObject.reset(::LoadBitmapA(module, MAKEINTRESOURCEA(id)));
    return static_cast<bool>(m_hObject);
}
