#include "model/LinkKey.h"

#include <algorithm>

namespace {

// What a value is read into first; nearly every value fits.
constexpr std::uint32_t kFirstCapacity = 256;
// Room for the longest value name the registry allows, 16,383 characters, and its NUL.
constexpr std::uint32_t kLongestName = 16384;
// A value may grow between two reads while another program writes it.
constexpr int kReadAttempts = 8;

bool IsStringType(std::uint32_t type)
{
    return type == registry::kString || type == registry::kExpandString || type == registry::kMultiString;
}

// Buffers that grow as far as a value needs, kept from one value to the next.
class ValueReader {
public:
    // `read` is one call of the registry with the buffers; the name is wanted only from an
    // enumeration.
    template <class Read>
    long ReadWhole(const Read& read, StoredValue& value)
    {
        for (int attempt = 1;; ++attempt) {
            auto nameLength = static_cast<std::uint32_t>(m_name.size());
            auto dataSize = static_cast<std::uint32_t>(m_data.size());
            std::uint32_t type = registry::kNone;
            const long result = read(m_name.data(), nameLength, type, m_data.data(), dataSize);
            if (result == registry::kSuccess) {
                // Never past what the call gave, nor past the buffers.
                const auto nameEnd = m_name.begin() + std::min<std::size_t>(nameLength, m_name.size());
                value.name.assign(m_name.begin(), std::find(m_name.begin(), nameEnd, u'\0'));
                value.type = type;
                value.data.assign(m_data.begin(), m_data.begin() + std::min<std::size_t>(dataSize, m_data.size()));
                return result;
            }
            if (result != registry::kMoreData || attempt == kReadAttempts)
                return result;
            // The platform tells the data's size, not the name's.
            m_name.resize(kLongestName);
            m_data.resize(dataSize > m_data.size() ? dataSize : m_data.size() * 2);
        }
    }

private:
    std::vector<char16_t> m_name = std::vector<char16_t>(kFirstCapacity);
    std::vector<unsigned char> m_data = std::vector<unsigned char>(kFirstCapacity);
};

long ReadAt(ValueReader& reader, RegistryKey& key, std::uint32_t index, StoredValue& value)
{
    return reader.ReadWhole(
        [&](char16_t* name, std::uint32_t& nameLength, std::uint32_t& type, unsigned char* data,
            std::uint32_t& dataSize) { return key.EnumValue(index, name, nameLength, type, data, dataSize); },
        value);
}

bool MakeChange(Registry& registry, const KeyChange& change, IfKeyMissing ifMissing, const char* subkey)
{
    long opened = registry::kSuccess;
    std::unique_ptr<RegistryKey> key = registry.OpenKey(subkey, registry::kWrite, opened);
    if (!key && opened == registry::kNotFound) {
        // Another program deleted the key meanwhile.
        if (ifMissing == IfKeyMissing::NothingToChange)
            return true;
        key = CreateLinkKey(registry, subkey);
    }
    return key && change(*key);
}

// Switches the system's EUDC support on or off; the failure, or null. The graphics
// library is loaded and released on every call: EnableEUDC is looked up by name, never
// bound when the program is loaded.
const char* SetEUDCEnabled(Libraries& libraries, bool enable)
{
    const std::unique_ptr<Library> gdi = libraries.Load("GDI32.DLL");
    if (!gdi)
        return "LoadLibrary Failed";
    const BoolEntryPoint enableEudc = gdi->FindBoolEntryPoint("EnableEUDC");
    if (!enableEudc)
        return "GetProcAddress Failed";
    enableEudc(enable);  // Its result tells nothing the user could act on.
    return nullptr;
}

}  // namespace

LinkKeyName LinkKeyOf(unsigned codePage)
{
    const std::string subkey = "EUDC\\" + std::to_string(codePage);
    const std::string path = "HKEY_CURRENT_USER\\" + subkey;
    return {subkey, std::u16string(path.begin(), path.end())};
}

long ReadValue(RegistryKey& key, const std::u16string& name, StoredValue& value)
{
    ValueReader reader;
    const long result = reader.ReadWhole(
        [&](char16_t*, std::uint32_t& nameLength, std::uint32_t& type, unsigned char* data,
            std::uint32_t& dataSize) {
            nameLength = 0;
            return key.QueryValue(name, type, data, dataSize);
        },
        value);
    value.name = name;
    return result;
}

long ReadValues(RegistryKey& key, std::vector<StoredValue>& values)
{
    ValueReader reader;
    for (std::uint32_t index = 0;; ++index) {
        StoredValue value;
        const long result = ReadAt(reader, key, index, value);
        if (result != registry::kSuccess)
            return result;
        values.push_back(std::move(value));
    }
}

long ReadLinkKey(Registry& registry, std::vector<StoredValue>& values, const char* subkey)
{
    long opened = registry::kSuccess;
    const std::unique_ptr<RegistryKey> key = registry.OpenKey(subkey, registry::kRead, opened);
    if (!key)
        return opened == registry::kNotFound ? registry::kSuccess : opened;
    const long result = ReadValues(*key, values);
    return result == registry::kNoMoreItems ? registry::kSuccess : result;
}

bool IsDeleted(long result)
{
    return result == registry::kSuccess || result == registry::kNotFound;
}

StoredValue StringValue(const std::u16string& name, const CString& text, WideningRule toWide)
{
    StoredValue value{name, registry::kString, {}};
    for (const char16_t unit : toWide(text) + u'\0') {
        value.data.push_back(static_cast<unsigned char>(unit & 0xFF));
        value.data.push_back(static_cast<unsigned char>(unit >> 8));
    }
    return value;
}

CString ValueText(const StoredValue& value, NarrowingRule toAnsi)
{
    const std::vector<unsigned char>& data = value.data;
    if (!IsStringType(value.type))
        return CString(data.begin(), std::find(data.begin(), data.end(), '\0'));
    std::u16string text;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        const auto unit = static_cast<char16_t>(data[i] | data[i + 1] << 8);
        if (unit == u'\0')
            break;
        text += unit;
    }
    return toAnsi(text);
}

std::unique_ptr<RegistryKey> CreateLinkKey(Registry& registry, const char* subkey)
{
    return registry.CreateKey(subkey, kLinkKeyClass, registry::kAllAccess);
}


bool ChangeWithEudcOff(Registry& registry, Libraries& libraries, const KeyChange& change,
                       IfKeyMissing ifMissing, const Tell& tell, const char* subkey)
{
    if (const char* failure = SetEUDCEnabled(libraries, false))
        tell(failure);
    const bool made = MakeChange(registry, change, ifMissing, subkey);
    if (!made)
        tell(kRegistryFailure);
    if (const char* failure = SetEUDCEnabled(libraries, true))
        tell(failure);
    return made;
}
