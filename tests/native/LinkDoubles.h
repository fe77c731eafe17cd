// Doubles of what the link model reaches through the platform, each recording what is
// asked of it in one shared list of events.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "../shared/EudcFontBytes.h"
#include "model/FontLinks.h"
#include "model/FontList.h"
#include "platform/Hashing.h"

using Events = std::vector<std::string>;

// Code page 950's lead bytes.
inline bool IsBig5LeadByte(unsigned char byte)
{
    return byte >= 0x81 && byte <= 0xFE;
}

// The few Big5 characters the tests use, and ASCII.
struct Big5Character {
    const char* big5;
    char16_t wide;
};
inline constexpr Big5Character kBig5Characters[] = {
    {"\xA5\x5C", u'\u529F'},  // 功, whose second byte is a backslash
    {"\xB3\x5C", u'\u8A31'},  // 許
    {"\xA4\x61", u'\u5140'},  // 兀, whose second byte is "a"
    {"\xA4\x41", u'\u4E59'},  // 乙, whose second byte is "A"
    {"\xA2\xCF", u'\uFF21'},  // full-width Ａ
    {"\xA2\xE9", u'\uFF41'},  // full-width ａ
    {"\xFA\x40", u'\uE000'},  // the first EUDC character
    {"\xFA\x41", u'\uE001'},
};

// Any other double-byte character becomes U+FFFD.
inline std::u16string Big5ToWide(std::string_view text)
{
    std::u16string wide;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (!IsBig5LeadByte(byte)) {
            wide += static_cast<char16_t>(byte);
            continue;
        }
        char16_t found = u'\uFFFD';
        for (const Big5Character& character : kBig5Characters) {
            if (text.substr(i, 2) == character.big5)
                found = character.wide;
        }
        wide += found;
        ++i;
    }
    return wide;
}

// Any other character than ASCII and those above becomes '?'.
inline CString WideToBig5(std::u16string_view text)
{
    CString big5;
    for (const char16_t c : text) {
        const auto found = std::find_if(std::begin(kBig5Characters), std::end(kBig5Characters),
                                        [c](const Big5Character& character) { return character.wide == c; });
        if (found != std::end(kBig5Characters))
            big5 += found->big5;
        else
            big5 += c < 0x80 ? static_cast<char>(c) : '?';
    }
    return big5;
}

// The registry's key of a name, as far as the tests need: letters upper-cased, ASCII and
// full-width ones, and nothing else.
inline std::u16string UpperCaseKey(std::u16string_view name)
{
    std::u16string key(name);
    for (char16_t& c : key) {
        if ((c >= u'a' && c <= u'z') || (c >= u'\uFF41' && c <= u'\uFF5A'))
            c = static_cast<char16_t>(c - 0x20);
    }
    return key;
}

inline constexpr CodePageRules kBig5{IsBig5LeadByte, Big5ToWide, WideToBig5, UpperCaseKey};

// Reports a fixed list of families, as the platform would.
class FakeFontSource : public FontSource {
public:
    explicit FakeFontSource(std::vector<EnumeratedFont> families) : families(std::move(families)) {}
    void EnumerateFamilies(const FontVisitor& visit) override
    {
        for (const EnumeratedFont& family : families) {
            ++reported;
            if (visit(family) == 0)
                return;
        }
    }
    void EnumerateFamily(const CString& faceName, const FontVisitor& visit) override
    {
        for (const EnumeratedFont& family : families) {
            if (kBig5.IsSameName(family.faceName, faceName) && visit(family) == 0)
                return;
        }
    }
    std::vector<EnumeratedFont> families;
    int reported = 0;
};

// Files by their full paths, and the folders made or given; a relative path is taken in
// C:\work.
class FakeFiles : public Files {
public:
    // Bytes read in parts, each read asked for recorded; a read past their end fails.
    class File : public ReadableFile {
    public:
        explicit File(std::string bytes) : bytes(std::move(bytes)) {}
        std::uint64_t Size() const override { return bytes.size(); }
        bool ReadAt(std::uint64_t offset, std::size_t size, std::string& part) override
        {
            reads.emplace_back(offset, size);
            if (offset > bytes.size() || size > bytes.size() - offset)
                return false;
            part = bytes.substr(static_cast<std::size_t>(offset), size);
            return true;
        }

        std::string bytes;
        std::vector<std::pair<std::uint64_t, std::size_t>> reads;  // offset and size
    };

    std::map<CString, std::string> files;
    std::set<CString> folders;
    bool canReplace = true;
    int failCopyAt = -1;    // the number of the one copy that fails
    int changeCopyAt = -1;  // the number of the one copy whose bytes are not the file's, as from a disk that changed
    int copies = 0;
    std::set<CString> undeletable;
    std::set<CString> reached;  // every path looked at, written or read, but for Open's

    bool FullPath(const CString& path, CString& full) override
    {
        full = path.starts_with("C:\\") ? path : "C:\\work\\" + path;
        return true;
    }
    bool IsFile(const CString& path) override
    {
        reached.insert(path);
        return files.contains(path);
    }
    bool Read(const CString& path, std::size_t limit, std::string& bytes) override
    {
        reached.insert(path);
        if (!files.contains(path) || files[path].size() > limit)
            return false;
        bytes = files[path];
        return true;
    }
    // Only reads the map: files are hashed on several threads at once.
    std::unique_ptr<ReadableFile> Open(const CString& path) override
    {
        const auto found = files.find(path);
        return found != files.end() ? std::make_unique<File>(found->second) : nullptr;
    }
    bool Replace(const CString& path, std::string_view bytes) override
    {
        if (canReplace)
            files[path] = bytes;
        return canReplace;
    }
    CString FontsFolder() override { return "C:\\Windows\\Fonts"; }
    Kind KindOf(const CString& path) override
    {
        reached.insert(path);
        if (files.contains(path))
            return Kind::File;
        if (!folders.contains(path))
            return Kind::Nothing;
        const auto inside = [&](const CString& entry) { return entry.starts_with(path + "\\"); };
        const bool hasFile = std::any_of(files.begin(), files.end(), [&](const auto& file) { return inside(file.first); });
        return hasFile || std::any_of(folders.begin(), folders.end(), inside) ? Kind::Folder : Kind::EmptyFolder;
    }
    bool MakeFolders(const CString& folder, std::vector<CString>& made) override
    {
        reached.insert(folder);
        for (std::size_t end = folder.find('\\', 3); ; end = folder.find('\\', end + 1)) {
            const CString part = folder.substr(0, end);
            if (files.contains(part))
                return false;
            if (folders.insert(part).second)
                made.push_back(part);
            if (end == CString::npos)
                return true;
        }
    }
    bool Copy(const CString& from, const CString& to) override
    {
        reached.insert(from);
        if (copies++ == failCopyAt || !files.contains(from) || KindOf(to) != Kind::Nothing)
            return false;
        files[to] = files[from];
        if (copies - 1 == changeCopyAt)
            files[to].back() ^= 1;
        return true;
    }
    bool Rename(const CString& from, const CString& to) override
    {
        reached.insert(from);
        if (!files.contains(from) || KindOf(to) != Kind::Nothing)
            return false;
        files[to] = files[from];
        files.erase(from);
        return true;
    }
    bool Delete(const CString& file) override
    {
        reached.insert(file);
        return !undeletable.contains(file) && files.erase(file) == 1;
    }
    bool RemoveFolder(const CString& folder) override
    {
        return KindOf(folder) == Kind::EmptyFolder && folders.erase(folder) == 1;
    }
};

// A digest that tells contents apart as SHA-256 would, in its form: 64 hex digits.
class FakeHashing : public Hashing {
public:
    std::atomic<int> hashed{0};

    std::string Sha256(ReadableFile& file) override
    {
        ++hashed;
        std::string bytes;
        if (!file.ReadAt(0, static_cast<std::size_t>(file.Size()), bytes))
            return {};
        char hex[17];
        std::snprintf(hex, sizeof hex, "%016zx", std::hash<std::string>{}(bytes));
        return std::string(48, '0') + hex;
    }
};

// The key EUDC\950 in a registry that behaves like Win32's: names found without regard to
// case (the stored letters kept), values enumerated by index in the order they were made,
// "more data" for a value larger than the caller's buffers, with the size it needs.
class FakeRegistry : public Registry {
public:
    explicit FakeRegistry(Events& events) : m_events(events) {}

    std::string subkey = "EUDC\\950";  // the one key there is
    bool keyExists = true;
    bool canCreate = true;
    bool canWrite = true;
    long writeResult = registry::kSuccess;  // what every write or deletion of a value gives
    int failWriteAt = -1;                   // the number of the one write that fails
    long enumFailureAt = -1;                // an index at which enumeration fails
    std::function<void()> beforeWriting;    // another program's change, as the key opens for writing
    CString createdClass;
    std::vector<StoredValue> values;

    // A value of the code page: strings are stored as UTF-16, as RegSetValueExA does.
    void Add(const CString& name, const std::string& data, std::uint32_t type = registry::kString)
    {
        StoredValue value{Big5ToWide(name), type, {}};
        if (type == registry::kString || type == registry::kExpandString || type == registry::kMultiString) {
            for (const char16_t unit : Big5ToWide(data)) {
                value.data.push_back(static_cast<unsigned char>(unit & 0xFF));
                value.data.push_back(static_cast<unsigned char>(unit >> 8));
            }
        } else {
            value.data.assign(data.begin(), data.end());
        }
        values.push_back(std::move(value));
    }
    const StoredValue* Find(const CString& name) const
    {
        const auto found = Lookup(Big5ToWide(name));
        return found == values.end() ? nullptr : &*found;
    }
    // The data of the value of that name as the code page's bytes, NULs included; a string
    // as RegQueryValueExA gives it.
    std::string AnsiData(const CString& name) const
    {
        const StoredValue* value = Find(name);
        if (!value)
            return "(none)";
        if (value->type != registry::kString)
            return std::string(value->data.begin(), value->data.end());
        std::u16string text;
        for (std::size_t i = 0; i + 1 < value->data.size(); i += 2)
            text += static_cast<char16_t>(value->data[i] | value->data[i + 1] << 8);
        return WideToBig5(text);
    }

    std::unique_ptr<RegistryKey> OpenKey(const char* subkey, std::uint32_t access, long& result) override
    {
        m_events.push_back("open " + Access(access));
        if (access == registry::kWrite && beforeWriting)
            beforeWriting();
        result = registry::kSuccess;
        if (subkey != this->subkey || !keyExists)
            result = registry::kNotFound;
        else if (access == registry::kWrite && !canWrite)
            result = registry::kAccessDenied;
        return result == registry::kSuccess ? std::make_unique<Key>(*this) : nullptr;
    }
    std::unique_ptr<RegistryKey> CreateKey(const char* subkey, const char* keyClass,
                                           std::uint32_t access) override
    {
        m_events.push_back("create " + Access(access));
        if (subkey != this->subkey || !canCreate)
            return nullptr;
        if (!keyExists)
            createdClass = keyClass;
        keyExists = true;
        return std::make_unique<Key>(*this);
    }

private:
    std::vector<StoredValue>::const_iterator Lookup(const std::u16string& name) const
    {
        return std::find_if(values.begin(), values.end(),
                            [&](const StoredValue& value) { return UpperCaseKey(value.name) == UpperCaseKey(name); });
    }
    std::vector<StoredValue>::iterator Lookup(const std::u16string& name)
    {
        return values.begin() + (std::as_const(*this).Lookup(name) - values.cbegin());
    }
    long WriteResult()
    {
        return writes++ == failWriteAt ? registry::kAccessDenied : writeResult;
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

        long EnumValue(std::uint32_t index, char16_t* name, std::uint32_t& nameLength, std::uint32_t& type,
                       unsigned char* data, std::uint32_t& dataSize) override
        {
            if (static_cast<long>(index) == m_registry.enumFailureAt)
                return registry::kAccessDenied;
            if (index >= m_registry.values.size())
                return registry::kNoMoreItems;
            const StoredValue& value = m_registry.values[index];
            if (value.name.size() + 1 > nameLength || value.data.size() > dataSize) {
                dataSize = static_cast<std::uint32_t>(value.data.size());
                return registry::kMoreData;
            }
            std::copy(value.name.begin(), value.name.end(), name);
            name[value.name.size()] = u'\0';
            nameLength = static_cast<std::uint32_t>(value.name.size());
            return Give(value, type, data, dataSize);
        }
        long QueryValue(const std::u16string& name, std::uint32_t& type, unsigned char* data,
                        std::uint32_t& dataSize) override
        {
            m_registry.m_events.push_back("query " + WideToBig5(name));
            const auto found = m_registry.Lookup(name);
            if (found == m_registry.values.end())
                return registry::kNotFound;
            if (found->data.size() > dataSize) {
                dataSize = static_cast<std::uint32_t>(found->data.size());
                return registry::kMoreData;
            }
            return Give(*found, type, data, dataSize);
        }
        long SetValue(const StoredValue& value) override
        {
            m_registry.m_events.push_back("set " + WideToBig5(value.name));
            if (const long result = m_registry.WriteResult(); result != registry::kSuccess)
                return result;
            const auto found = m_registry.Lookup(value.name);
            if (found == m_registry.values.end())
                m_registry.values.push_back(value);
            else
                *found = {found->name, value.type, value.data};  // the stored name stays
            return registry::kSuccess;
        }
        long DeleteValue(const std::u16string& name) override
        {
            m_registry.m_events.push_back("delete " + WideToBig5(name));
            if (const long result = m_registry.WriteResult(); result != registry::kSuccess)
                return result;
            const auto found = m_registry.Lookup(name);
            if (found == m_registry.values.end())
                return registry::kNotFound;
            m_registry.values.erase(found);
            return registry::kSuccess;
        }

    private:
        static long Give(const StoredValue& value, std::uint32_t& type, unsigned char* data, std::uint32_t& dataSize)
        {
            std::copy(value.data.begin(), value.data.end(), data);
            dataSize = static_cast<std::uint32_t>(value.data.size());
            type = value.type;
            return registry::kSuccess;
        }

        FakeRegistry& m_registry;
    };

    Events& m_events;
    int writes = 0;
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

// The main dialog as its model sees it.
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
    void KeyWritten() override {}

private:
    Events& m_events;
};
