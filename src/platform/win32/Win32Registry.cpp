#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include <utility>

#include "platform/Strings.h"
#include "platform/win32/UniqueHandle.h"

static_assert(registry::kSuccess == ERROR_SUCCESS);
static_assert(registry::kNotFound == ERROR_FILE_NOT_FOUND);
static_assert(registry::kAccessDenied == ERROR_ACCESS_DENIED);
static_assert(registry::kMoreData == ERROR_MORE_DATA);
static_assert(registry::kNoMoreItems == ERROR_NO_MORE_ITEMS);
static_assert(registry::kRead == KEY_READ);
static_assert(registry::kWrite == KEY_WRITE);
static_assert(registry::kAllAccess == KEY_ALL_ACCESS);
static_assert(registry::kNone == REG_NONE);
static_assert(registry::kString == REG_SZ);
static_assert(registry::kExpandString == REG_EXPAND_SZ);
static_assert(registry::kBinary == REG_BINARY);
static_assert(registry::kDword == REG_DWORD);
static_assert(registry::kMultiString == REG_MULTI_SZ);
static_assert(registry::kQword == REG_QWORD);

namespace {

const wchar_t* Wide(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

class Win32Key : public RegistryKey {
public:
    explicit Win32Key(UniqueKey key) : m_key(std::move(key)) {}

    long EnumValue(std::uint32_t index, char16_t* name, std::uint32_t& nameLength, std::uint32_t& type,
                   unsigned char* data, std::uint32_t& dataSize) override
    {
        DWORD length = nameLength;
        DWORD valueType = 0;
        DWORD size = dataSize;
        const LONG result = ::RegEnumValueW(m_key.get(), index, reinterpret_cast<wchar_t*>(name), &length, nullptr,
                                            &valueType, data, &size);
        nameLength = length;
        type = valueType;
        dataSize = size;
        return result;
    }

    long QueryValue(const std::u16string& name, std::uint32_t& type, unsigned char* data,
                    std::uint32_t& dataSize) override
    {
        DWORD valueType = 0;
        DWORD size = dataSize;
        const LONG result = ::RegQueryValueExW(m_key.get(), Wide(name), nullptr, &valueType, data, &size);
        type = valueType;
        dataSize = size;
        return result;
    }

    long SetValue(const StoredValue& value) override
    {
        return ::RegSetValueExW(m_key.get(), Wide(value.name), 0, value.type, value.data.data(),
                                static_cast<DWORD>(value.data.size()));
    }

    long DeleteValue(const std::u16string& name) override { return ::RegDeleteValueW(m_key.get(), Wide(name)); }

private:
    UniqueKey m_key;
};

}  // namespace

std::unique_ptr<RegistryKey> Win32Registry::OpenKey(const char* subkey, std::uint32_t access, long& result)
{
    UniqueKey key;
    result = ::RegOpenKeyExA(HKEY_CURRENT_USER, subkey, 0, access, key.put());
    if (result != ERROR_SUCCESS)
        return nullptr;
    return std::make_unique<Win32Key>(std::move(key));
}

std::unique_ptr<RegistryKey> Win32Registry::CreateKey(const char* subkey, const char* keyClass,
                                                      std::uint32_t access)
{
    CString className = keyClass;  // the API takes the class as a writable string
    UniqueKey key;
    DWORD disposition = 0;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, subkey, 0, className.data(), REG_OPTION_NON_VOLATILE,
                          access, nullptr, key.put(), &disposition) != ERROR_SUCCESS)
        return nullptr;
    return std::make_unique<Win32Key>(std::move(key));
}
