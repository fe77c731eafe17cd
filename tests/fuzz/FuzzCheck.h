// What a fuzz target does when a property fails: says which, and stops, so that the
// fuzzer keeps the input as a crash.
#pragma once

#include <cstdio>
#include <cstdlib>

inline void Check(bool holds, const char* property)
{
    if (!holds) {
        std::fprintf(stderr, "Property failed: %s\n", property);
        std::abort();
    }
}
