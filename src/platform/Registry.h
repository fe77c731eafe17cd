// The registry under HKEY_CURRENT_USER, as the link store reaches it: one key at a time,
// opened for one operation and closed again.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Strings.h"

namespace registry {

// Results, as Win32 numbers them.
inline constexpr long kSuccess = 0;         // ERROR_SUCCESS
inline constexpr long kNotFound = 2;        // ERROR_FILE_NOT_FOUND: no such key or value
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

// An open key; destroying it closes it. Values are reached two ways: as the program's
// code page sees them (the A functions), and as stored (the W functions), for copies that
// must keep every byte.
class RegistryKey {
public:
    virtual ~RegistryKey() = default;

    // The value at `index` in the key's order, as RegEnumValueA gives it. On the way in,
    // nameSize and dataSize are the capacities of the buffers; on the way out nameSize is
    // the name's length without its NUL and dataSize the data's size in bytes. A value
    // that does not fit gives registry::kMoreData.
    virtual long EnumValue(std::uint32_t index, char* name, std::uint32_t& nameSize,
                           std::uint32_t& type, unsigned char* data, std::uint32_t& dataSize) = 0;
    // The value that the name finds (without regard to case), whole: registry::kNotFound
    // when there is none.
    virtual long QueryValue(const CString& name, std::uint32_t& type, std::string& data) = 0;
    // Creates the value or replaces the one whose name matches without regard to case.
    virtual long SetValue(const CString& name, std::uint32_t type, const char* data,
                          std::uint32_t size) = 0;
    // registry::kNotFound when there is no value of that name.
    virtual long DeleteValue(const CString& name) = 0;

    // The value at `index`, whole, as stored; registry::kNoMoreItems after the last.
    virtual long EnumStoredValue(std::uint32_t index, StoredValue& value) = 0;
    // Creates the value or replaces the one whose name matches without regard to case.
    virtual long SetStoredValue(const StoredValue& value) = 0;
    virtual long DeleteStoredValue(const std::u16string& name) = 0;
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
