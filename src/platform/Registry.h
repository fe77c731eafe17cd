// The registry under HKEY_CURRENT_USER, as the link key is reached: one key at a time,
// opened for one operation and closed again, its values as the registry stores them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace registry {

// Results, as Win32 numbers them (Win32Registry.cpp checks each against its constant).
inline constexpr long kSuccess = 0;         // ERROR_SUCCESS
inline constexpr long kNotFound = 2;        // ERROR_FILE_NOT_FOUND: no such key or value
inline constexpr long kAccessDenied = 5;    // ERROR_ACCESS_DENIED
inline constexpr long kMoreData = 234;      // ERROR_MORE_DATA
inline constexpr long kNoMoreItems = 259;   // ERROR_NO_MORE_ITEMS

// Access rights.
inline constexpr std::uint32_t kRead = 0x20019;       // KEY_READ
inline constexpr std::uint32_t kWrite = 0x20006;      // KEY_WRITE
inline constexpr std::uint32_t kAllAccess = 0xF003F;  // KEY_ALL_ACCESS

// Value types.
inline constexpr std::uint32_t kNone = 0;           // REG_NONE
inline constexpr std::uint32_t kString = 1;         // REG_SZ
inline constexpr std::uint32_t kExpandString = 2;   // REG_EXPAND_SZ
inline constexpr std::uint32_t kBinary = 3;         // REG_BINARY
inline constexpr std::uint32_t kDword = 4;          // REG_DWORD
inline constexpr std::uint32_t kMultiString = 7;    // REG_MULTI_SZ
inline constexpr std::uint32_t kQword = 11;         // REG_QWORD

}  // namespace registry

// A value as the registry keeps it: the name in UTF-16, the data as stored (a string's
// data is UTF-16LE, normally with its NUL).
struct StoredValue {
    std::u16string name;
    std::uint32_t type = registry::kNone;
    std::vector<unsigned char> data;

    bool operator==(const StoredValue&) const = default;
};

// An open key; destroying it closes it.
class RegistryKey {
public:
    virtual ~RegistryKey() = default;

    // The value at `index` in the key's order, as RegEnumValueW gives it. On the way in,
    // nameLength is the room of the name buffer in characters and dataSize that of the
    // data buffer in bytes; on the way out, the name's length without its NUL and the
    // data's size. A value that does not fit gives registry::kMoreData.
    virtual long EnumValue(std::uint32_t index, char16_t* name, std::uint32_t& nameLength, std::uint32_t& type,
                           unsigned char* data, std::uint32_t& dataSize) = 0;
    // The value that the name finds, without regard to case, as RegQueryValueExW gives
    // it (dataSize as above); registry::kNotFound when there is none.
    virtual long QueryValue(const std::u16string& name, std::uint32_t& type, unsigned char* data,
                            std::uint32_t& dataSize) = 0;
    // Creates the value, or replaces the one whose name matches without regard to case,
    // which keeps its letters.
    virtual long SetValue(const StoredValue& value) = 0;
    // registry::kNotFound when there is no value of that name.
    virtual long DeleteValue(const std::u16string& name) = 0;
};

class Registry {
public:
    virtual ~Registry() = default;

    // The subkey of HKEY_CURRENT_USER, or null when it cannot be opened; `result` tells
    // why (registry::kNotFound when there is no such key).
    virtual std::unique_ptr<RegistryKey> OpenKey(const char* subkey, std::uint32_t access, long& result) = 0;
    // The subkey, created with this class when missing; null when that fails too.
    virtual std::unique_ptr<RegistryKey> CreateKey(const char* subkey, const char* keyClass,
                                                   std::uint32_t access) = 0;
};
