// The registry of the current user, through the Win32 registry functions.
#pragma once

#include "platform/Registry.h"

class Win32Registry : public Registry {
public:
    std::unique_ptr<RegistryKey> OpenKey(const char* subkey, std::uint32_t access, long& result) override;
    std::unique_ptr<RegistryKey> CreateKey(const char* subkey, const char* keyClass,
                                           std::uint32_t access) override;
};
