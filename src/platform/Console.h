// The standard output and error of the console program, given as UTF-8; the port writes
// them in the form their reader decodes.
#pragma once

#include <string_view>

class Console {
public:
    virtual ~Console() = default;
    virtual void Out(std::string_view text) = 0;
    virtual void Err(std::string_view text) = 0;
};
