#include "platform/win32/HighContrast.h"

#include <windows.h>

// A system that cannot say is taken to have it off: the program then looks as it always has.
bool IsHighContrastOn()
{
    HIGHCONTRASTA setting{sizeof setting, 0, nullptr};
    return ::SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) != FALSE &&
           (setting.dwFlags & HCF_HIGHCONTRASTON) != 0;
}
