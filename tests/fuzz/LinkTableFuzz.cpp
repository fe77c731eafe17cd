// The link table loaded from whatever the key holds: any names, types, sizes and bytes,
// and another program changing the key between any two reads. Each row must be the
// value as last read whole at its index, the two arrays parallel, no buffer overrun, and
// while nothing changes, no value hidden.
//
// The input, in order: a flags byte; with flag 4, the index at which enumeration fails;
// the number of values; each value as a type byte, its name and its data; then, one
// for each read of the key, a change that another program makes just before it.
// A name or data is two bytes of length, then its bytes, filled up with 'x' where the
// input ends first.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>

#include "FuzzCheck.h"
#include "LinkDoubles.h"
#include "model/EudcPath.h"

namespace {

// The registry's limits: a name of 16,383 characters, two bytes at most each.
constexpr std::size_t kLongestName = 32766;
constexpr std::size_t kLongestData = 65535;

constexpr std::uint8_t kKeyMissing = 1;      // the first load finds no key
constexpr std::uint8_t kKeyUnreachable = 2;  // a second load can neither open nor create it
constexpr std::uint8_t kEnumFailure = 4;

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool AtEnd() const { return m_at == m_size; }
    std::uint8_t Byte() { return AtEnd() ? 0 : m_data[m_at++]; }
    std::string Text(std::size_t longest)
    {
        const std::size_t high = Byte();
        const std::size_t length = std::min(high << 8 | Byte(), longest);
        const std::size_t available = std::min(length, m_size - m_at);
        std::string text(reinterpret_cast<const char*>(m_data + m_at), available);
        m_at += available;
        text.resize(length, 'x');
        return text;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

// A value as the reader should take it: text up to the first NUL within what was given.
std::string UpToNul(const char* bytes, std::size_t size)
{
    return std::string(bytes, std::find(bytes, bytes + size, '\0'));
}

struct Read {
    long result;
    std::string name;
    std::string data;
};

// The key of `values` as another program changes it: before each read, one change that
// the input describes. Every read is recorded, the last one at each index counting.
class ChangingRegistry : public Registry {
public:
    ChangingRegistry(FakeRegistry& values, Input& changes) : m_values(values), m_changes(changes) {}

    std::map<std::uint32_t, Read> lastReads;
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

        long EnumValue(std::uint32_t index, char* name, std::uint32_t& nameSize, std::uint32_t& type,
                       unsigned char* data, std::uint32_t& dataSize) override
        {
            m_registry.ChangeOneValue();
            // The reader must own every byte it offers; stale bytes must not matter.
            std::memset(name, 0xAB, nameSize);
            std::memset(data, 0xAB, dataSize);
            const long result = m_key->EnumValue(index, name, nameSize, type, data, dataSize);
            ++m_registry.reads;
            Read& read = m_registry.lastReads[index];
            read = {result, {}, {}};
            if (result == registry::kSuccess)
                read = {result, UpToNul(name, nameSize), UpToNul(reinterpret_cast<char*>(data), dataSize)};
            return result;
        }
        long QueryValue(const CString& name, std::uint32_t& type, std::string& data) override
        {
            return m_key->QueryValue(name, type, data);
        }
        long SetValue(const CString& name, std::uint32_t type, const char* data, std::uint32_t size) override
        {
            return m_key->SetValue(name, type, data, size);
        }
        long DeleteValue(const CString& name) override { return m_key->DeleteValue(name); }
        long EnumStoredValue(std::uint32_t index, StoredValue& value) override
        {
            return m_key->EnumStoredValue(index, value);
        }
        long SetStoredValue(const StoredValue& value) override { return m_key->SetStoredValue(value); }
        long DeleteStoredValue(const std::u16string& name) override { return m_key->DeleteStoredValue(name); }

    private:
        std::unique_ptr<RegistryKey> m_key;
        ChangingRegistry& m_registry;
    };

    std::unique_ptr<RegistryKey> Wrap(std::unique_ptr<RegistryKey> key)
    {
        return key ? std::make_unique<Key>(std::move(key), *this) : nullptr;
    }

    void ChangeOneValue()
    {
        if (m_changes.AtEnd())
            return;
        std::vector<FakeValue>& values = m_values.values;
        const int change = m_changes.Byte() % 6;
        const std::size_t at = values.empty() ? 0 : m_changes.Byte() % values.size();
        changed = changed || change != 0;
        switch (change) {
        case 1:  // grows
            if (!values.empty())
                values[at].data += m_changes.Text(kLongestData);
            break;
        case 2:  // is deleted
            if (!values.empty())
                values.erase(values.begin() + static_cast<std::ptrdiff_t>(at));
            break;
        case 3: {  // a new value, where no value has its name
            FakeValue value{m_changes.Text(kLongestName), m_changes.Byte(), m_changes.Text(kLongestData)};
            if (!m_values.Find(value.name))
                values.insert(values.begin() + static_cast<std::ptrdiff_t>(at), value);
            break;
        }
        case 4:  // is rewritten, shorter or longer
            if (!values.empty())
                values[at].data = m_changes.Text(kLongestData);
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

void CheckTableIsTheLastReads(const FontLinks& links, const ChangingRegistry& registry)
{
    const std::size_t rows = links.m_linkFonts.size();
    Check(links.m_linkFiles.size() == rows, "the two arrays are parallel");
    for (std::size_t i = 0; i < rows; ++i) {
        const auto read = registry.lastReads.find(static_cast<std::uint32_t>(i));
        Check(read != registry.lastReads.end() && read->second.result == registry::kSuccess,
              "each row comes from a successful read");
        Check(links.m_linkFonts[i] == read->second.name, "each name is the one last read at its index");
        Check(links.m_linkFiles[i] == read->second.data, "each file is the one last read at its index");
    }
    const auto stop = registry.lastReads.find(static_cast<std::uint32_t>(rows));
    Check(stop != registry.lastReads.end() && stop->second.result != registry::kSuccess,
          "the load ends at the first index that cannot be read");
    Check(registry.reads <= 8 * static_cast<int>(rows + 1), "a bounded number of reads for each value");
}

void CheckNothingHidden(const FontLinks& links, const FakeRegistry& registry, long enumFailureAt)
{
    std::size_t expected = registry.values.size();
    if (enumFailureAt >= 0)
        expected = std::min(expected, static_cast<std::size_t>(enumFailureAt));
    Check(links.m_linkFonts.size() == expected, "every value loads while the key stands still");
    for (std::size_t i = 0; i < expected; ++i) {
        const FakeValue& value = registry.values[i];
        Check(links.m_linkFonts[i] == UpToNul(value.name.c_str(), value.name.size()), "the name as stored");
        Check(links.m_linkFiles[i] == UpToNul(value.data.data(), value.data.size()), "the data as stored");
    }
}

// Each row shows the first link that the registry takes for its name, or the no-link text.
void CheckRows(const FontLinks& links, const FakeWindow& window)
{
    for (std::size_t row = 0; row < FontList.size(); ++row) {
        const auto& fonts = links.m_linkFonts;
        const auto first = std::find_if(fonts.begin(), fonts.end(),
                                        [&](const CString& name) { return IsSameBig5Name(name, FontList[row]); });
        const int link = first == fonts.end() ? -1 : static_cast<int>(first - fonts.begin());
        Check(links.FindLink(FontList[row]) == link, "the first value of the font's name, in any letter case");
        const CString text = links.GetLinkText(static_cast<int>(row));
        if (link == -1)
            Check(text == window.NoAssignedText(), "a font without a link says so");
        else
            Check(links.m_linkFiles[link].ends_with(text), "a row shows the end of its link's path");
    }
}

// Row 0, then each value's name as it is and with its ASCII letters upper-cased, which the
// registry takes for the same name (unless a letter is the second byte of a Big5
// character), and so must the rows.
void FillFontList(const FakeRegistry& registry)
{
    FontList.assign(1, kSystemDefaultEUDCFont);
    for (const FakeValue& value : registry.values) {
        std::string upper = value.name;
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
        FontList.push_back(value.name);
        FontList.push_back(upper);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    Input input(bytes, size);
    Events events;
    FakeRegistry values(events);
    FakeLibraries libraries(events);
    FakeWindow window(events);
    ChangingRegistry registry(values, input);
    FontLinks links(registry, libraries, window, kBig5);

    const std::uint8_t flags = input.Byte();
    if (flags & kEnumFailure)
        values.enumFailureAt = input.Byte();
    for (int count = input.Byte(); count > 0; --count) {
        const std::uint32_t type = input.Byte();
        const std::string name = input.Text(kLongestName);
        const std::string data = input.Text(kLongestData);
        if (!values.Find(name))  // the registry holds one value of a name, whatever its case
            values.Add(name, data, type);
    }
    if (flags & kKeyMissing) {
        values.values.clear();
        values.keyExists = false;
    }

    links.LoadLinks();
    FillFontList(values);

    if (flags & kKeyMissing)
        Check(values.createdClass == "REG_SZ", "a missing key is created with the class REG_SZ");
    CheckTableIsTheLastReads(links, registry);
    if (!registry.changed)
        CheckNothingHidden(links, values, values.enumFailureAt);
    CheckRows(links, window);

    if (flags & kKeyUnreachable) {
        const CStringArray fonts = links.m_linkFonts;
        const CStringArray files = links.m_linkFiles;
        values.keyExists = false;
        values.canCreate = false;
        links.LoadLinks();
        Check(events.back() == "message Access Registry Database failed!", "an unreachable key is reported");
        Check(links.m_linkFonts == fonts && links.m_linkFiles == files, "an unreachable key keeps the table");
        CheckRows(links, window);
    }
    return 0;
}
