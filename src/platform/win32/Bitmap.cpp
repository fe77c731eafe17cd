#include "platform/win32/Bitmap.h"

#include "platform/win32/WinApp.h"

bool CBitmap::LoadBitmap(UINT id)
{
    m_hObject.reset(::LoadBitmapA(CWinApp::Current()->m_hInstance, MAKEINTRESOURCEA(id)));
    return static_cast<bool>(m_hObject);
}
