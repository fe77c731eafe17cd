#include "app/AboutDate.h"

#include <cstdio>

namespace {

// "%d年%d月%d日" in code page 950.
constexpr char kDateFormat[] = "%d\xA6\x7E%d\xA4\xEB%d\xA4\xE9";

}  // namespace

CString FormatAboutDate(std::time_t now)
{
    const std::tm* local = std::localtime(&now);
    if (local == nullptr)
        return {};
    char text[64];  // the longest result is 14 bytes and its NUL
    std::snprintf(text, sizeof text, kDateFormat, local->tm_year + 1900, local->tm_mon + 1,
                  local->tm_mday);
    return text;
}
