#include "platform/win32/Win32Hashing.h"

#include <windows.h>
#include <bcrypt.h>

#include <algorithm>
#include <array>

#include "platform/win32/UniqueHandle.h"

namespace {

// BCryptCloseAlgorithmProvider takes flags besides the handle.
void CloseAlgorithm(BCRYPT_ALG_HANDLE algorithm)
{
    ::BCryptCloseAlgorithmProvider(algorithm, 0);
}
using UniqueAlgorithm = UniqueHandle<BCRYPT_ALG_HANDLE, CloseAlgorithm>;
using UniqueHash = UniqueHandle<BCRYPT_HASH_HANDLE, ::BCryptDestroyHash>;

constexpr std::size_t kChunk = 1u << 20;

std::string Hex(const std::array<unsigned char, 32>& digest)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const unsigned char byte : digest) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0xF];
    }
    return hex;
}

}  // namespace

std::string Win32Hashing::Sha256(ReadableFile& file)
{
    UniqueAlgorithm algorithm;
    UniqueHash hash;
    if (!BCRYPT_SUCCESS(::BCryptOpenAlgorithmProvider(algorithm.put(), BCRYPT_SHA256_ALGORITHM, nullptr, 0)) ||
        !BCRYPT_SUCCESS(::BCryptCreateHash(algorithm.get(), hash.put(), nullptr, 0, nullptr, 0, 0)))
        return {};
    std::string bytes;
    for (std::uint64_t offset = 0; offset < file.Size(); offset += bytes.size()) {
        const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, file.Size() - offset));
        if (!file.ReadAt(offset, size, bytes) ||
            !BCRYPT_SUCCESS(::BCryptHashData(hash.get(), reinterpret_cast<PUCHAR>(bytes.data()),
                                             static_cast<ULONG>(bytes.size()), 0)))
            return {};
    }
    std::array<unsigned char, 32> digest{};
    if (!BCRYPT_SUCCESS(::BCryptFinishHash(hash.get(), digest.data(), static_cast<ULONG>(digest.size()), 0)))
        return {};
    return Hex(digest);
}
