#include "model/LinkKey.h"

#include <algorithm>

namespace {

// What a value is read into first; nearly every value fits.
constexpr std::uint32_t kFirstCapacity = 256;
// Room for the longest value name the registry allows, 16,383 characters, each of them
// two bytes at most in the ANSI code page, and its NUL.
constexpr std::uint32_t kLongestName = 32768;
// A value may grow between two reads while another program writes it.
constexpr int kReadAttempts = 8;

// Reads the value at `index` whole, growing the buffers as far as the value needs.
long ReadValue(RegistryKey& key, std::uint32_t index, LinkValue& value)
{
    std::vector<char> name(kFirstCapacity);
    std::vector<unsigned char> data(kFirstCapacity);
    for (int attempt = 1;; ++attempt) {
        auto nameSize = static_cast<std::uint32_t>(name.size());
        auto dataSize = static_cast<std::uint32_t>(data.size());
        std::uint32_t type = 0;
        const long result = key.EnumValue(index, name.data(), nameSize, type, data.data(), dataSize);
        if (result == registry::kSuccess) {
            // Never past what the call gave, nor past the buffers.
            const auto nameEnd = name.begin() + std::min<std::size_t>(nameSize, name.size());
            value.name.assign(name.begin(), std::find(name.begin(), nameEnd, '\0'));
            value.type = type;
            value.data.assign(data.begin(), data.begin() + std::min<std::size_t>(dataSize, data.size()));
            return result;
        }
        if (result != registry::kMoreData || attempt == kReadAttempts)
            return result;
        // The platform tells the data's size, not the name's.
        name.resize(kLongestName);
        data.resize(dataSize > data.size() ? dataSize : data.size() * 2);
    }
}

bool MakeChange(Registry& registry, const KeyChange& change, IfKeyMissing ifMissing)
{
    long opened = registry::kSuccess;
    std::unique_ptr<RegistryKey> key = registry.OpenKey(kLinkKey, registry::kWrite, opened);
    if (!key && opened == registry::kNotFound) {
        // Another program deleted the key meanwhile.
        if (ifMissing == IfKeyMissing::NothingToChange)
            return true;
        key = CreateLinkKey(registry);
    }
    return key && change(*key);
}

}  // namespace

long ReadLinkValues(RegistryKey& key, std::vector<LinkValue>& values)
{
    for (std::uint32_t index = 0;; ++index) {
        LinkValue value;
        const long result = ReadValue(key, index, value);
        if (result != registry::kSuccess)
            return result;
        values.push_back(std::move(value));
    }
}

long ReadStoredValues(Registry& registry, std::vector<StoredValue>& values)
{
    long opened = registry::kSuccess;
    const std::unique_ptr<RegistryKey> key = registry.OpenKey(kLinkKey, registry::kRead, opened);
    if (!key)
        return opened == registry::kNotFound ? registry::kSuccess : opened;
    for (std::uint32_t index = 0;; ++index) {
        StoredValue value;
        const long result = key->EnumStoredValue(index, value);
        if (result == registry::kNoMoreItems)
            return registry::kSuccess;
        if (result != registry::kSuccess)
            return result;
        values.push_back(std::move(value));
    }
}

std::unique_ptr<RegistryKey> CreateLinkKey(Registry& registry)
{
    return registry.CreateKey(kLinkKey, kLinkKeyClass, registry::kAllAccess);
}

const char* SwitchEudc(Libraries& libraries, bool enable)
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

bool ChangeWithEudcOff(Registry& registry, Libraries& libraries, const KeyChange& change,
                       IfKeyMissing ifMissing, const Tell& tell)
{
    if (const char* failure = SwitchEudc(libraries, false))
        tell(failure);
    const bool made = MakeChange(registry, change, ifMissing);
    if (!made)
        tell(kRegistryFailure);
    if (const char* failure = SwitchEudc(libraries, true))
        tell(failure);
    return made;
}
