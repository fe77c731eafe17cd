// The date line of the About box.
#pragma once

#include <ctime>

#include "platform/Strings.h"

// The local date of `now` as "%d年%d月%d日" in code page 950: year, month and day
// without leading zeros, for example 2027年1月1日. Empty if the time cannot be converted.
CString FormatAboutDate(std::time_t now);
