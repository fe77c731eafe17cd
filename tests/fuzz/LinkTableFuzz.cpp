// The window's rows made from whatever the key holds: any names, types, sizes and bytes,
// and another program changing the key between any two reads. Each value must be the one
// last read whole at its index, no buffer overrun, nothing hidden while nothing changes,
// and each font's row must show the first value that the registry takes for its name.
//
// The input, in order: a flags byte; with flag 4, the index at which enumeration fails;
// the number of values; each value as a type byte, its name (UTF-16, two bytes a unit)
// and its data; then, one for each read of the key, a change that another program makes
// just before it. A name or data is two bytes of length, then its bytes, filled up with
// 'x' where the input ends first.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "FuzzCheck.h"
#include "LinkDoubles.h"

namespace {

// The registry's limits: a name of 16,383 characters.
constexpr std::size_t kLongestName = 16383;
constexpr std::size_t kLongestData = 65535;

constexpr std::uint8_t kKeyMissing = 1;      // the first load finds no key
constexpr std::uint8_t kKeyUnreachable = 2;  // a second load can neither open nor create it
constexpr std::uint8_t kEnumFailure = 4;

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool AtEnd() const { return m_at == m_size; }
    std::uint8_t Byte() { return AtEnd() ? 0 : m_data[m_at++]; }
    std::vector<unsigned char> Bytes(std::size_t longest)
    {
        const std::size_t high = Byte();
        const std::size_t length = std::min(high << 8 | Byte(), longest);
        const std::size_t available = std::min(length, m_size - m_at);
        std::vector<unsigned char> bytes(m_data + m_at, m_data + m_at + available);
        m_at += available;
        bytes.resize(length, 'x');
        return bytes;
    }
    std::u16string Name()
    {
        const std::vector<unsigned char> bytes = Bytes(2 * kLongestName);
        std::u16string name;
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
            name += static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
        return name;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

// The key of `values` as another program changes it: before each read, one change that
// the input describes. Every read is recorded, the last one at each index counting.
class ChangingRegistry : public Registry {
public:
    ChangingRegistry(FakeRegistry& values, Input& changes) : m_values(values), m_changes(changes) {}

    std::map<std::uint32_t, std::pair<long, StoredValue>> lastReads;
    int reads = 0;
    bool changed = false;

    std::unique_ptr<RegistryKey> OpenKey(const char* subkey, std::uint32_t access, long& result) override
    {
        return Wrap(m_values.OpenKey(subkey, access, result));
    }
    std::unique_ptr<RegistryKey> CreateKey(const char* subkey, const char* keyClass, std::uint32_t access) override
    {
        return Wrap(m_values.CreateKey(subkey, keyClass, access));
    }

private:
    class Key : public RegistryKey {
    public:
        Key(std::unique_ptr<RegistryKey> key, ChangingRegistry& registry) : m_key(std::move(key)), m_registry(registry) {}

        long EnumValue(std::uint32_t index, char16_t* name, std::uint32_t& nameLength, std::uint32_t& type,
                       unsigned char* data, std::uint32_t& dataSize) override
        {
            m_registry.ChangeOneValue();
            // The reader must own every unit it offers; stale ones must not matter.
            std::fill(name, name + nameLength, u'\xABAB');
            std::fill(data, data + dataSize, 0xAB);
            const long result = m_key->EnumValue(index, name, nameLength, type, data, dataSize);
            ++m_registry.reads;
            auto& read = m_registry.lastReads[index];
            read = {result, {}};
            if (result == registry::kSuccess)
                read.second = {std::u16string(name, nameLength), type, {data, data + dataSize}};
            return result;
        }
        long QueryValue(const std::u16string& name, std::uint32_t& type, unsigned char* data,
                        std::uint32_t& dataSize) override
        {
            return m_key->QueryValue(name, type, data, dataSize);
        }
        long SetValue(const StoredValue& value) override { return m_key->SetValue(value); }
        long DeleteValue(const std::u16string& name) override { return m_key->DeleteValue(name); }

    private:
        std::unique_ptr<RegistryKey> m_key;
        ChangingRegistry& m_registry;
    };

    std::unique_ptr<RegistryKey> Wrap(std::unique_ptr<RegistryKey> key)
    {
        return key ? std::make_unique<Key>(std::move(key), *this) : nullptr;
    }

    bool HasValue(const std::u16string& name) const
    {
        return std::any_of(m_values.values.begin(), m_values.values.end(),
                           [&](const StoredValue& value) { return UpperCaseKey(value.name) == UpperCaseKey(name); });
    }

    void ChangeOneValue()
    {
        if (m_changes.AtEnd())
            return;
        std::vector<StoredValue>& values = m_values.values;
        const int change = m_changes.Byte() % 6;
        const std::size_t at = values.empty() ? 0 : m_changes.Byte() % values.size();
        changed = changed || change != 0;
        switch (change) {
        case 1:  // grows
            if (!values.empty()) {
                const std::vector<unsigned char> more = m_changes.Bytes(kLongestData);
                values[at].data.insert(values[at].data.end(), more.begin(), more.end());
            }
            break;
        case 2:  // is deleted
            if (!values.empty())
                values.erase(values.begin() + static_cast<std::ptrdiff_t>(at));
            break;
        case 3: {  // a new value, where no value has its name
            StoredValue value{m_changes.Name(), m_changes.Byte(), m_changes.Bytes(kLongestData)};
            if (!HasValue(value.name))
                values.insert(values.begin() + static_cast<std::ptrdiff_t>(at), value);
            break;
        }
        case 4:  // is rewritten, shorter or longer
            if (!values.empty())
                values[at].data = m_changes.Bytes(kLongestData);
            break;
        case 5:  // changes its type
            if (!values.empty())
                values[at].type = m_changes.Byte();
            break;
        }
    }

    FakeRegistry& m_values;
    Input& m_changes;
};

// The values as the registry gives them: a name up to its first NUL.
StoredValue AsRead(StoredValue value)
{
    value.name.erase(std::min(value.name.find(u'\0'), value.name.size()));
    return value;
}

// The values that the rows show, found by a plain scan of the key: the first value the
// registry takes for each font's name, then every value that no font took, in the key's
// order. Returns the number of values read.
std::size_t CheckRowsShow(const FontLinks& links, const std::vector<LinkRow>& all, const CStringArray& fontList,
                          const std::vector<StoredValue>& read)
{
    std::vector<bool> taken(read.size(), false);
    Check(links.Rows().size() == fontList.size(), "one row for each entry of the font list");
    for (std::size_t row = 0; row < fontList.size(); ++row) {
        const auto first = std::find_if(read.begin(), read.end(), [&](const StoredValue& value) {
            return UpperCaseKey(value.name) == kBig5.KeyOf(fontList[row]);
        });
        const LinkRow& shown = links.Rows()[row];
        Check(shown.name == fontList[row], "a row shows its font's name");
        Check(shown.hasLink == (first != read.end()), "a row has a link when the key has a value of its name");
        if (first == read.end())
            continue;
        taken[first - read.begin()] = true;
        Check(shown.valueName == WideToBig5(first->name), "the first value of the font's name, in any letter case");
        Check(shown.type == first->type, "that value's type");
    }
    std::size_t other = fontList.size();
    for (std::size_t i = 0; i < read.size(); ++i) {
        if (taken[i])
            continue;
        Check(other < all.size() && all[other].kind == NameKind::NotInstalled &&
                  all[other].valueName == WideToBig5(read[i].name),
              "every other value follows, once, in the key's order");
        ++other;
    }
    Check(other == all.size(), "no row beyond the values");
    return read.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    Input input(bytes, size);
    Events events;
    FakeRegistry values(events);
    FakeLibraries libraries(events);
    FakeWindow window(events);
    FakeFiles files;
    ChangingRegistry registry(values, input);

    const std::uint8_t flags = input.Byte();
    if (flags & kEnumFailure)
        values.enumFailureAt = input.Byte();
    // Row 0, then each value's name as the code page writes it and with its ASCII letters
    // upper-cased, which the registry takes for the same name.
    FakeFontSource fonts({});
    for (int count = input.Byte(); count > 0; --count) {
        const std::uint32_t type = input.Byte();
        const std::u16string name = input.Name();
        const std::vector<unsigned char> data = input.Bytes(kLongestData);
        if (std::any_of(values.values.begin(), values.values.end(),
                        [&](const StoredValue& value) { return UpperCaseKey(value.name) == UpperCaseKey(name); }))
            continue;  // the registry holds one value of a name, whatever its case
        values.values.push_back({name, type, data});
        CString upper = WideToBig5(name);
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
        for (const CString& face : {WideToBig5(name), upper})
            fonts.families.push_back({face, fonts::kBig5CharSet, fonts::kTrueType});
    }
    if (flags & kKeyMissing) {
        values.values.clear();
        values.keyExists = false;
    }
    const std::vector<StoredValue> before = values.values;

    const LinkPorts ports{registry, libraries, fonts, files, kBig5};
    FontLinks links(ports, window);
    links.BuildFontList();
    links.LoadLinks();
    CStringArray fontList;
    BuildFontList(fonts, fontList);

    if (flags & kKeyMissing)
        Check(values.createdClass == "REG_SZ", "a missing key is created with the class REG_SZ");
    std::vector<StoredValue> read;
    for (std::uint32_t index = 0;; ++index) {
        const auto last = registry.lastReads.find(index);
        Check(last != registry.lastReads.end(), "the values are read in order, from 0");
        if (last->second.first != registry::kSuccess)
            break;
        read.push_back(AsRead(last->second.second));
    }
    Check(registry.reads <= 8 * static_cast<int>(read.size() + 1), "a bounded number of reads for each value");
    if (!registry.changed) {
        std::size_t expected = before.size();
        if (values.enumFailureAt >= 0)
            expected = std::min(expected, static_cast<std::size_t>(values.enumFailureAt));
        Check(read.size() == expected, "every value loads while the key stands still");
        for (std::size_t i = 0; i < expected; ++i)
            Check(read[i] == AsRead(before[i]), "each value as stored");
    }
    CheckRowsShow(links, MakeRows(fontList, read, files.FontsFolder(), kBig5), fontList, read);

    if (flags & kKeyUnreachable) {
        const std::vector<LinkRow> rows(links.Rows().begin(), links.Rows().end());
        values.keyExists = false;
        values.canCreate = false;
        links.LoadLinks();
        Check(events.back() == "message Access Registry Database failed!", "an unreachable key is reported");
        Check(links.Rows().size() == rows.size(), "an unreachable key keeps the rows");
        for (std::size_t i = 0; i < rows.size(); ++i)
            Check(links.Rows()[i].text == rows[i].text && links.Rows()[i].hasLink == rows[i].hasLink,
                  "an unreachable key keeps the links");
    }
    return 0;
}
