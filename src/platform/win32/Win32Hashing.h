// SHA-256 through the system's cryptography primitives (BCrypt).
#pragma once

#include "platform/Hashing.h"

class Win32Hashing : public Hashing {
public:
    std::string Sha256(ReadableFile& file) override;
};
