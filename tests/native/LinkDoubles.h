// Doubles of what the link model reaches through the platform, each recording what is
// asked of it in one shared list of events.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "model/FontList.h"
#include "model/FontLinks.h"

using Events = std::vector<std::string>;

// Code page 950's lead bytes.
inline bool IsBig5LeadByte(unsigned char byte)
{
    return byte >= 0x81 && byte <= 0xFE;
}

// The registry's matching of names, for Big5 text: ASCII letters in either case alike,
// a double-byte character only to itself, whatever its second byte.
inline bool IsSameBig5Name(const CString& a, const CString& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (IsBig5LeadByte(x)) {
            if (x != y || i + 1 == a.size() || a[i + 1] != b[i + 1])
                return false;
            ++i;
        } else if (std::tolower(x) != std::tolower(y)) {
            return false;
        }
    }
    return true;
}

// The few Big5 characters the tests use, and ASCII; anything else becomes U+FFFD.
inline std::u16string Big5ToWide(std::string_view text)
{
    static const struct {
        const char* big5;
        char16_t wide;
    } kCharacters[] = {{"\xA5\x5C", u'\u529F'}, {"\xB3\x5C", u'\u8A31'}, {"\xA4\x61", u'\u5140'},
                       {"\xA4\x41", u'\u4E59'}, {"\xA2\xCF", u'\uFF21'}, {"\xA2\xE9", u'\uFF41'}};
    std::u16string wide;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (!IsBig5LeadByte(byte)) {
            wide += static_cast<char16_t>(byte);
            continue;
        }
        char16_t found = u'\uFFFD';
        for (const auto& character : kCharacters) {
            if (text.substr(i, 2) == character.big5)
                found = character.wide;
        }
        wide += found;
        ++i;
    }
    return wide;
}

// ASCII letters in either case alike, as far as the tests need.
inline bool IsSameWideName(std::u16string_view a, std::u16string_view b)
{
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char16_t x, char16_t y) { return lower(x) == lower(y); });
}

inline constexpr CodePageRules kBig5{IsBig5LeadByte, IsSameBig5Name, Big5ToWide, IsSameWideName};

// Reports a fixed list of families, as the platform would.
class FakeFontSource : public FontSource {
public:
    explicit FakeFontSource(std::vector<EnumeratedFont> families) : m_families(std::move(families)) {}
    void EnumerateFamilies(const FontVisitor& visit) override
    {
        for (const EnumeratedFont& family : m_families) {
            ++reported;
            if (visit(family) == 0)
                return;
        }
    }
    void EnumerateFamily(const CString& faceName, const FontVisitor& visit) override
    {
        for (const EnumeratedFont& family : m_families) {
            if (IsSameBig5Name(family.faceName, faceName) && visit(family) == 0)
                return;
        }
    }
    int reported = 0;

private:
    std::vector<EnumeratedFont> m_families;
};

struct FakeValue {
    CString name;
    std::uint32_t type;
    std::string data;  // the stored bytes, NULs included
};

// The key EUDC\950 in a registry that behaves like Win32's: names found without regard to
// case, values enumerated by index in the order they were made, "more data" for a value
// larger than the caller's buffers, with the size the data needs.
class FakeRegistry : public Registry {
public:
    explicit FakeRegistry(Events& events) : m_events(events) {}

    bool keyExists = true;
    bool canCreate = true;
    bool canWrite = true;
    long writeResult = registry::kSuccess;  // what a write or deletion of a value gives
    long enumFailureAt = -1;  // an index at which enumeration fails with access denied
    CString createdClass;
    std::vector<FakeValue> values;

    void Add(const CString& name, const std::string& data, std::uint32_t type = registry::kString)
    {
        values.push_back({name, type, data});
    }
    const FakeValue* Find(const CString& name)
    {
        const auto found = Lookup(name);
        return found == values.end() ? nullptr : &*found;
    }

    std::unique_ptr<RegistryKey> OpenKey(const char* subkey, std::uint32_t access, long& result) override
    {
        m_events.push_back("open " + Access(access));
        result = registry::kSuccess;
        if (std::strcmp(subkey, "EUDC\\950") != 0 || !keyExists)
            result = registry::kNotFound;
        else if (access == registry::kWrite && !canWrite)
            result = 5;  // ERROR_ACCESS_DENIED
        return result == registry::kSuccess ? std::make_unique<Key>(*this) : nullptr;
    }
    std::unique_ptr<RegistryKey> CreateKey(const char* subkey, const char* keyClass,
                                           std::uint32_t access) override
    {
        m_events.push_back("create " + Access(access));
        if (std::strcmp(subkey, "EUDC\\950") != 0 || !canCreate)
            return nullptr;
        if (!keyExists)
            createdClass = keyClass;
        keyExists = true;
        return std::make_unique<Key>(*this);
    }

private:
    std::vector<FakeValue>::iterator Lookup(const CString& name)
    {
        return std::find_if(values.begin(), values.end(),
                            [&](const FakeValue& value) { return IsSameBig5Name(value.name, name); });
    }
    static std::string Access(std::uint32_t access)
    {
        return access == registry::kRead ? "read" : access == registry::kWrite ? "write"
               : access == registry::kAllAccess ? "all" : "other";
    }

    class Key : public RegistryKey {
    public:
        explicit Key(FakeRegistry& registry) : m_registry(registry) {}
        ~Key() override { m_registry.m_events.push_back("close"); }

        long EnumValue(std::uint32_t index, char* name, std::uint32_t& nameSize, std::uint32_t& type,
                       unsigned char* data, std::uint32_t& dataSize) override
        {
            if (static_cast<long>(index) == m_registry.enumFailureAt)
                return 5;
            if (index >= m_registry.values.size())
                return registry::kNoMoreItems;
            const FakeValue& value = m_registry.values[index];
            if (value.name.size() + 1 > nameSize || value.data.size() > dataSize) {
                dataSize = static_cast<std::uint32_t>(value.data.size());
                return registry::kMoreData;
            }
            std::memcpy(name, value.name.c_str(), value.name.size() + 1);
            nameSize = static_cast<std::uint32_t>(value.name.size());
            std::memcpy(data, value.data.data(), value.data.size());
            dataSize = static_cast<std::uint32_t>(value.data.size());
            type = value.type;
            return registry::kSuccess;
        }
        long QueryValue(const CString& name, std::uint32_t& type, std::string& data) override
        {
            m_registry.m_events.push_back("query " + name);
            const auto found = m_registry.Lookup(name);
            if (found == m_registry.values.end())
                return registry::kNotFound;
            type = found->type;
            data = found->data;
            return registry::kSuccess;
        }
        long SetValue(const CString& name, std::uint32_t type, const char* data, std::uint32_t size) override
        {
            m_registry.m_events.push_back("set " + name);
            if (m_registry.writeResult != registry::kSuccess)
                return m_registry.writeResult;
            const auto found = m_registry.Lookup(name);
            if (found == m_registry.values.end())
                m_registry.values.push_back({name, type, std::string(data, size)});
            else
                *found = {found->name, type, std::string(data, size)};  // the stored name stays
            return registry::kSuccess;
        }
        long DeleteValue(const CString& name) override
        {
            m_registry.m_events.push_back("delete " + name);
            if (m_registry.writeResult != registry::kSuccess)
                return m_registry.writeResult;
            const auto found = m_registry.Lookup(name);
            if (found == m_registry.values.end())
                return registry::kNotFound;
            m_registry.values.erase(found);
            return registry::kSuccess;
        }
        // The window never reaches values as stored.
        long EnumStoredValue(std::uint32_t, StoredValue&) override { return 5; }
        long SetStoredValue(const StoredValue&) override { return 5; }
        long DeleteStoredValue(const std::u16string&) override { return 5; }

    private:
        FakeRegistry& m_registry;
    };

    Events& m_events;
};

// The graphics library, with or without EnableEUDC, or missing altogether.
class FakeLibraries : public Libraries {
public:
    explicit FakeLibraries(Events& events) : m_events(events) {}

    bool libraryExists = true;
    bool entryPointExists = true;

    std::unique_ptr<Library> Load(const char* fileName) override
    {
        m_events.push_back(std::string("load ") + fileName);
        if (!libraryExists)
            return nullptr;
        return std::make_unique<Gdi>(*this);
    }

private:
    class Gdi : public Library {
    public:
        explicit Gdi(FakeLibraries& libraries) : m_libraries(libraries) {}
        ~Gdi() override { m_libraries.m_events.push_back("free"); }
        BoolEntryPoint FindBoolEntryPoint(const char* name) override
        {
            m_libraries.m_events.push_back(std::string("find ") + name);
            if (!m_libraries.entryPointExists)
                return {};
            Events& events = m_libraries.m_events;
            return [&events](int enable) {
                events.push_back("EnableEUDC " + std::to_string(enable));
                return 0;  // as Wine's does
            };
        }

    private:
        FakeLibraries& m_libraries;
    };

    Events& m_events;
};

// The main dialog as the commands see it.
class FakeWindow : public LinkWindow {
public:
    explicit FakeWindow(Events& events) : m_events(events) {}

    int selectedRow = 0;
    // The path the user picks; none means the user cancels.
    const char* chosenPath = nullptr;
    // The row the user selects while the open-file dialog is open.
    int rowSelectedMeanwhile = -2;

    int GetSelectedRow() const override { return selectedRow; }
    bool ChooseEudcFile(CString& path) override
    {
        m_events.push_back("choose file");
        if (rowSelectedMeanwhile != -2)
            selectedRow = rowSelectedMeanwhile;
        if (!chosenPath)
            return false;
        path = chosenPath;
        return true;
    }
    void ShowMessage(const char* text) override { m_events.push_back(std::string("message ") + text); }
    void RepaintAll() override { m_events.push_back("repaint"); }
    CString NoAssignedText() const override { return "no assigned"; }

private:
    Events& m_events;
};
