#include "platform/win32/Win32CodePages.h"

#include <windows.h>

#include "platform/win32/AnsiCodePage.h"

static_assert(CP_ACP == 0);

unsigned Win32CodePages::SystemCodePage()
{
    return ::GetACP();
}

bool Win32CodePages::Use(unsigned codePage, CodePageRules& rules)
{
    const std::optional<CodePageRules> found = RulesOfCodePage(codePage);
    if (!found)
        return false;
    rules = *found;
    m_current = codePage;
    return true;
}
