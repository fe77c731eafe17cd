// Digests of files, by the platform's own hashing, to tell that a copy is whole.
#pragma once

#include <string>

#include "platform/Files.h"

class Hashing {
public:
    virtual ~Hashing() = default;
    // SHA-256 of the file's bytes as 64 lower-case hexadecimal digits; empty when the file
    // cannot be read whole.
    virtual std::string Sha256(ReadableFile& file) = 0;
};
