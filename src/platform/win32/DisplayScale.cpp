#include "platform/win32/DisplayScale.h"

#include "platform/win32/UniqueHandle.h"

int SystemDpi()
{
    const ClientDC screen = GetClientDC(nullptr);
    return screen ? ::GetDeviceCaps(screen.get().dc, LOGPIXELSY) : kDefaultDpi;
}
