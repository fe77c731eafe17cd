// Standard output and error: a console is written in UTF-16, so that Chinese shows in any
// console code page; a pipe or a file gets the text in the console's output code page,
// which is what PowerShell and cmd decode it with unless told otherwise.
#pragma once

#include "platform/Console.h"

class Win32Console : public Console {
public:
    void Out(std::string_view text) override;
    void Err(std::string_view text) override;
};
