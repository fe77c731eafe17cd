// Libraries loaded by name while the program runs, for entry points that it looks up
// rather than binds to when it is loaded.
#pragma once

#include <functional>
#include <memory>

// An entry point that takes a BOOL and returns one.
using BoolEntryPoint = std::function<int(int)>;

// A loaded library; destroying it releases the library.
class Library {
public:
    virtual ~Library() = default;
    // The entry point of that name; empty when the library has none.
    virtual BoolEntryPoint FindBoolEntryPoint(const char* name) = 0;
};

class Libraries {
public:
    virtual ~Libraries() = default;
    // The library of that file name, or null when it cannot be loaded.
    virtual std::unique_ptr<Library> Load(const char* fileName) = 0;
};
