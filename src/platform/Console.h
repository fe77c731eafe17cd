// The standard output and error of the console program, in UTF-8.
#pragma once

#include <string_view>

class Console {
public:
    virtual ~Console() = default;
    virtual void Out(std::string_view text) = 0;
    virtual void Err(std::string_view text) = 0;
};
