#include "platform/win32/Resources.h"

CString LoadResourceString(HINSTANCE module, UINT id)
{
    char text[256] = {};
    const int length = ::LoadStringA(module, id, text, sizeof text);
    return CString(text, length);
}
