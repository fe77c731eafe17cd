// The entry point: everything else starts from the application object.
#include <windows.h>

#include "platform/win32/WinApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return CWinApp::Current()->Run(instance);
}
