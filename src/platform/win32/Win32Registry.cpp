#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/win32/UniqueHandle.h"

namespace {

const wchar_t* Wide(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

class Win32Key : public RegistryKey {
public:
    explicit Win32Key(UniqueKey key) : m_key(std::move(key)) {}

    long EnumValue(std::uint32_t index, char* name, std::uint32_t& nameSize, std::uint32_t& type,
                   unsigned char* data, std::uint32_t& dataSize) override
    {
        DWORD nameLength = nameSize;
        DWORD valueType = 0;
        DWORD dataLength = dataSize;
        const LONG result =
            ::RegEnumValueA(m_key.get(), index, name, &nameLength, nullptr, &valueType, data, &dataLength);
        nameSize = nameLength;
        type = valueType;
        dataSize = dataLength;
        return result;
    }

    long QueryValue(const CString& name, std::uint32_t& type, std::string& data) override
    {
        for (;;) {  // the value may grow between the two calls
            DWORD size = 0;
            LONG result = ::RegQueryValueExA(m_key.get(), name.c_str(), nullptr, nullptr, nullptr, &size);
            if (result != ERROR_SUCCESS)
                return result;
            data.assign(size, '\0');
            DWORD valueType = 0;
            result = ::RegQueryValueExA(m_key.get(), name.c_str(), nullptr, &valueType,
                                        reinterpret_cast<BYTE*>(data.data()), &size);
            if (result == ERROR_MORE_DATA)
                continue;
            data.resize(size);
            type = valueType;
            return result;
        }
    }

    long SetValue(const CString& name, std::uint32_t type, const char* data, std::uint32_t size) override
    {
        return ::RegSetValueExA(m_key.get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data), size);
    }

    long DeleteValue(const CString& name) override { return ::RegDeleteValueA(m_key.get(), name.c_str()); }

    long EnumStoredValue(std::uint32_t index, StoredValue& value) override
    {
        // Room for the longest name the registry allows, 16,383 characters and a NUL.
        std::wstring name(16384, L'\0');
        std::vector<BYTE> data(256);
        for (;;) {
            DWORD nameLength = static_cast<DWORD>(name.size());
            DWORD type = 0;
            DWORD dataSize = static_cast<DWORD>(data.size());
            const LONG result =
                ::RegEnumValueW(m_key.get(), index, name.data(), &nameLength, nullptr, &type, data.data(), &dataSize);
            if (result == ERROR_MORE_DATA) {  // the value grew, or the first guess was short
                data.resize(std::max<std::size_t>(dataSize, data.size() * 2));
                continue;
            }
            if (result == ERROR_SUCCESS) {
                value.name.assign(reinterpret_cast<const char16_t*>(name.data()), nameLength);
                value.type = type;
                value.data.assign(data.begin(), data.begin() + dataSize);
            }
            return result;
        }
    }

    long SetStoredValue(const StoredValue& value) override
    {
        return ::RegSetValueExW(m_key.get(), Wide(value.name), 0, value.type, value.data.data(),
                                static_cast<DWORD>(value.data.size()));
    }

    long DeleteStoredValue(const std::u16string& name) override
    {
        return ::RegDeleteValueW(m_key.get(), Wide(name));
    }

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
