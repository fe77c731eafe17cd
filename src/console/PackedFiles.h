// What pack and unpack share: paths in the packed folder, and the sizes and SHA-256 of
// the files they carry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "console/Eudclink.h"

CString Joined(const CString& folder, const CString& name);

struct Measured {
    bool ok = false;  // false when the file cannot be opened or read whole
    std::uint64_t size = 0;
    std::string sha256;
};

// The file's size and SHA-256, read from the file itself.
Measured Measure(const Eudclink& with, const CString& path);
// Sizes and SHA-256 of many files, on as many threads as the machine has cores, up to
// four: hashing takes far longer than reading, and each file is hashed on its own.
std::vector<Measured> MeasureAll(const Eudclink& with, const std::vector<CString>& paths);
