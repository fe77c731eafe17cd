// The code page in which the Win32 ports take and give names and paths: the system's own
// until a command chooses another.
#pragma once

#include "platform/CodePage.h"

class Win32CodePages : public CodePages {
public:
    unsigned SystemCodePage() override;
    bool Use(unsigned codePage, CodePageRules& rules) override;
    // CP_ACP until Use chooses another.
    unsigned Current() const { return m_current; }

private:
    unsigned m_current = 0;
};

// The code page of a port that may be given one: the system's when it is not.
inline unsigned CodePageOf(const Win32CodePages* codePages)
{
    return codePages ? codePages->Current() : 0;
}
