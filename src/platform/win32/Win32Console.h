// Standard output and error: a console is written in UTF-16, so that Chinese shows in any
// console code page; a pipe or a file gets the UTF-8 bytes.
#pragma once

#include "platform/Console.h"

class Win32Console : public Console {
public:
    void Out(std::string_view text) override;
    void Err(std::string_view text) override;
};
