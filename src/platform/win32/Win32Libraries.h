// Libraries loaded by name with LoadLibraryA, released with FreeLibrary.
#pragma once

#include "platform/Libraries.h"

class Win32Libraries : public Libraries {
public:
    std::unique_ptr<Library> Load(const char* fileName) override;
};
