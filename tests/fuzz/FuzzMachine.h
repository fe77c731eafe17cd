// A Windows machine for fuzz targets that run whole eudclink commands: the registry,
// files, hashing, console and code pages that the commands reach, faked as Windows
// behaves where it matters to them. Paths are Windows': '/' is '\', letters compare
// without regard to case, "." and ".." are resolved; only drives C: and D: exist. A
// read-only file cannot be deleted or replaced; the files port's copy is never read-only,
// whatever the source (CopyFile alone would keep the attribute). Shares, "\\?\" and "\\.\" paths, device names (NUL.TTE,
// COM1.TTE) and streams (evil.dll:x.TTE) are places a command must never reach for
// while the machine is guarded: every call that names one is recorded and refused.
// Every call through every port counts, and a command that makes more than its budget
// fails a property, so that a command that never ends is caught.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "LinkDoubles.h"
#include "console/RunEudclink.h"
#include "platform/Unicode.h"

namespace fuzz {

// --- What is said when a property fails ---

// The commands run so far and what they wrote, shown before a failed property.
inline std::string& Log()
{
    static std::string log;
    return log;
}

inline void Expect(bool holds, const char* property)
{
    if (!holds)
        std::fprintf(stderr, "%s", Log().c_str());
    Check(holds, property);
}

// --- Port calls ---

// The calls a command may make through the ports before it is taken for one that never
// ends. Counted on every thread: files are hashed on several.
class PortCalls {
public:
    void Start(long budget)
    {
        m_calls = 0;
        m_budget = budget;
    }
    void Count()
    {
        if (++m_calls > m_budget)
            Expect(false, "each command ends within a bounded number of port calls");
    }

private:
    std::atomic<long> m_calls{0};
    std::atomic<long> m_budget{0};
};

inline PortCalls& Calls()
{
    static PortCalls calls;
    return calls;
}

// --- Text and paths ---

// Code page 950's conversion as the port makes it: a character the code page lacks becomes
// '?', never a look-alike (é never becomes e).
inline constexpr CodePageRules kRules = kBig5;

inline std::u16string Wide(std::string_view ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

inline std::u16string Key(std::u16string_view path)
{
    return UpperCaseKey(path);
}

inline bool IsLetter(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

inline bool HasDrive(std::u16string_view path)
{
    return path.size() >= 3 && IsLetter(path[0]) && path[1] == u':' && path[2] == u'\\';
}

inline bool IsDeviceNamespace(std::u16string_view path)
{
    return path.starts_with(u"\\\\?\\") || path.starts_with(u"\\\\.\\");
}

// The path as Windows takes it: '/' as '\', relative to C:\work, repeated separators, "."
// and ".." resolved ("\\?\" and "\\.\" paths are taken as they are).
inline std::u16string Normal(std::u16string path)
{
    std::replace(path.begin(), path.end(), u'/', u'\\');
    if (IsDeviceNamespace(path))
        return path;
    std::u16string root;
    std::u16string rest;
    if (path.starts_with(u"\\\\")) {  // \\server\share
        const std::size_t server = path.find(u'\\', 2);
        const std::size_t share = server == std::u16string::npos ? server : path.find(u'\\', server + 1);
        root = path.substr(0, share);
        rest = share == std::u16string::npos ? u"" : path.substr(share + 1);
    } else if (HasDrive(path)) {
        root = path.substr(0, 2);
        rest = path.substr(3);
    } else if (path.starts_with(u"\\")) {
        root = u"C:";
        rest = path.substr(1);
    } else if (path.size() >= 2 && IsLetter(path[0]) && path[1] == u':') {  // C:name: in that drive's folder
        root = path.substr(0, 2);
        rest = (Key(root) == u"C:" ? u"work\\" : u"") + path.substr(2);
    } else {
        root = u"C:";
        rest = u"work\\" + path;
    }
    std::vector<std::u16string> parts;
    for (std::size_t start = 0; start <= rest.size();) {
        const std::size_t end = std::min(rest.find(u'\\', start), rest.size());
        const std::u16string part = rest.substr(start, end - start);
        if (part == u"..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != u".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::u16string normal = root;
    for (const std::u16string& part : parts)
        normal += u"\\" + part;
    return parts.empty() ? normal + u"\\" : normal;
}

// "\\server\share...", not the device namespace.
inline bool IsShare(std::u16string_view normal)
{
    return normal.starts_with(u"\\\\") && !IsDeviceNamespace(normal);
}

inline bool IsDeviceName(std::u16string_view part)
{
    std::u16string base(part.substr(0, std::min(part.find(u'.'), part.size())));
    while (!base.empty() && base.back() == u' ')
        base.pop_back();
    base = Key(base);
    static const std::set<std::u16string> devices = {u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"};
    if (devices.contains(base))
        return true;
    return base.size() == 4 && (base.starts_with(u"COM") || base.starts_with(u"LPT")) && base[3] >= u'1' &&
           base[3] <= u'9';
}

enum class Place {
    Local,       // a plain file's path on the machine's own drives, C: and D:
    NoDrive,     // a drive the machine does not have
    Invalid,     // characters no path holds
    Unreachable  // a share, the device namespace, a device, a stream: never to be reached for
};

inline Place PlaceOf(std::u16string_view normal)
{
    if (normal.starts_with(u"\\\\"))
        return Place::Unreachable;
    if (!HasDrive(normal))
        return Place::Invalid;
    for (std::size_t start = 3; start < normal.size();) {
        const std::size_t end = std::min(normal.find(u'\\', start), normal.size());
        const std::u16string_view part = normal.substr(start, end - start);
        if (part.find(u':') != std::u16string_view::npos || IsDeviceName(part))
            return Place::Unreachable;
        if (std::ranges::any_of(part, [](char16_t c) {
                return c < 0x20 || std::u16string_view(u"<>\"|?*").find(c) != std::u16string_view::npos;
            }))
            return Place::Invalid;
        start = end + 1;
    }
    const char16_t drive = static_cast<char16_t>(normal[0] & ~0x20);
    return drive == u'C' || drive == u'D' ? Place::Local : Place::NoDrive;
}

// The folder a normal path is in, without its last backslash; empty for a root.
inline std::u16string FolderOf(std::u16string_view normal)
{
    const std::size_t slash = normal.rfind(u'\\');
    if (slash == std::u16string_view::npos || slash + 1 >= normal.size())
        return {};
    return std::u16string(normal.substr(0, slash == 2 ? 3 : slash));
}

inline std::u16string NameOf(std::u16string_view normal)
{
    return std::u16string(normal.substr(normal.rfind(u'\\') + 1));
}

// The length of the root: "C:\" or "\\server\share\"; 0 for none.
inline std::size_t RootLength(std::u16string_view normal)
{
    if (HasDrive(normal))
        return 3;
    if (!IsShare(normal))
        return 0;
    const std::size_t server = normal.find(u'\\', 2);
    const std::size_t share = server == std::u16string_view::npos ? server : normal.find(u'\\', server + 1);
    return share == std::u16string_view::npos ? normal.size() : share + 1;
}

// The folder the path is in and every one above it, outermost last, roots excluded.
inline std::vector<std::u16string> FoldersAbove(const std::u16string& normal)
{
    std::vector<std::u16string> folders;
    const std::size_t root = RootLength(normal);
    if (root == 0)
        return folders;
    for (std::size_t slash = normal.rfind(u'\\'); slash != std::u16string::npos && slash >= root;
         slash = normal.rfind(u'\\', slash - 1))
        folders.push_back(normal.substr(0, slash));
    return folders;
}

// The file a link's text names, as Windows finds it: a full path ('/' as '\'), or a bare
// name in the system's font folder; empty when the text names no file.
inline std::u16string LinkPath(std::u16string_view text)
{
    if (text.empty() || std::ranges::any_of(text, [](char16_t c) {
            return c < 0x20 || std::u16string_view(u"<>\"|?*").find(c) != std::u16string_view::npos;
        }))
        return {};
    std::u16string slashed(text);
    std::replace(slashed.begin(), slashed.end(), u'/', u'\\');
    if (HasDrive(slashed) || slashed.starts_with(u"\\\\"))
        return Normal(slashed);
    if (slashed.find_first_of(u"\\:") != std::u16string::npos)
        return {};
    return u"C:\\Windows\\Fonts\\" + slashed;
}

// The .EUF file beside a font: its name up to its last dot, then .EUF.
inline std::u16string EditorBeside(const std::u16string& path)
{
    const std::u16string name = NameOf(path);
    return path.substr(0, path.size() - name.size()) + name.substr(0, std::min(name.rfind(u'.'), name.size())) + u".EUF";
}

// A string value's text, up to its first NUL.
inline std::u16string TextOf(const StoredValue& value)
{
    std::u16string text;
    for (std::size_t i = 0; i + 1 < value.data.size(); i += 2) {
        const auto unit = static_cast<char16_t>(value.data[i] | value.data[i + 1] << 8);
        if (unit == 0)
            break;
        text += unit;
    }
    return text;
}

inline StoredValue TextValue(std::u16string name, std::u16string_view text)
{
    StoredValue value{std::move(name), registry::kString, {}};
    for (const char16_t c : std::u16string(text) + u'\0') {
        value.data.push_back(static_cast<unsigned char>(c & 0xFF));
        value.data.push_back(static_cast<unsigned char>(c >> 8));
    }
    return value;
}

// The digest the fake hashing gives: as SHA-256 looks, and tells contents apart as well.
inline std::string Digest(const std::string& bytes)
{
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016zx", std::hash<std::string>{}(bytes));
    return std::string(48, '0') + hex;
}

// --- Files ---

struct StoredFile {
    std::u16string path;  // as made, letters kept
    std::string bytes;
    bool readOnly = false;

    bool operator==(const StoredFile& other) const { return bytes == other.bytes && readOnly == other.readOnly; }
};

// What is on the machine's drives, by the keys of their paths.
struct DiskState {
    std::map<std::u16string, StoredFile> files;
    std::set<std::u16string> folders;

    bool operator==(const DiskState&) const = default;
};

// A change made through the port, by the normal path it made it at.
struct DiskChange {
    enum class What { File, Removed, Folder, RemovedFolder } what;
    std::u16string path;
};

class FuzzFiles : public Files {
public:
    DiskState disk;
    std::vector<DiskChange> changes;
    std::vector<std::u16string> reached;  // unreachable places named while guarded
    bool guarded = false;
    int failCopyAt = -1;  // the number of the one copy that fails
    // Another program's change: the file, once opened and closed, holds these bytes.
    std::map<std::u16string, std::string> rewrittenAfterRead;
    std::map<std::u16string, std::uint64_t> readUpTo;  // the furthest byte read of each file

    // A file put there, and its folders.
    void Put(const std::u16string& path, std::string bytes, bool readOnly = false)
    {
        const std::u16string normal = Normal(path);
        for (const std::u16string& folder : FoldersAbove(normal))
            disk.folders.insert(Key(folder));
        disk.files[Key(normal)] = {normal, std::move(bytes), readOnly};
    }
    void PutFolder(const std::u16string& path)
    {
        const std::u16string normal = Normal(path);
        disk.folders.insert(Key(normal));
        for (const std::u16string& folder : FoldersAbove(normal))
            disk.folders.insert(Key(folder));
    }
    const StoredFile* Find(const std::u16string& path) const
    {
        const auto found = disk.files.find(Key(Normal(path)));
        return found == disk.files.end() ? nullptr : &found->second;
    }

    bool FullPath(const CString& path, CString& full) override
    {
        Calls().Count();
        if (path.empty())
            return false;
        full = kRules.toAnsi(Normal(kRules.toWide(path)));
        return true;
    }
    bool IsFile(const CString& path) override
    {
        std::lock_guard lock(m_mutex);
        const std::u16string normal = Reach(path);
        return Serves(normal) && disk.files.contains(Key(normal));
    }
    bool Read(const CString& path, std::size_t limit, std::string& bytes) override
    {
        std::lock_guard lock(m_mutex);
        const std::u16string normal = Reach(path);
        const auto found = Serves(normal) ? disk.files.find(Key(normal)) : disk.files.end();
        if (found == disk.files.end() || found->second.bytes.size() > limit)
            return false;
        bytes = found->second.bytes;
        ReadTo(Key(normal), bytes.size());
        return true;
    }
    std::unique_ptr<ReadableFile> Open(const CString& path) override
    {
        std::lock_guard lock(m_mutex);
        const std::u16string normal = Reach(path);
        const auto found = Serves(normal) ? disk.files.find(Key(normal)) : disk.files.end();
        if (found == disk.files.end())
            return nullptr;
        return std::make_unique<OpenFile>(*this, found->first, found->second.bytes);
    }
    bool Replace(const CString& path, std::string_view bytes) override
    {
        std::lock_guard lock(m_mutex);
        const std::u16string normal = Reach(path);
        const auto found = disk.files.find(Key(normal));
        if (!Serves(normal) || !CanMake(normal) || (found != disk.files.end() && found->second.readOnly))
            return false;
        disk.files[Key(normal)] = {normal, std::string(bytes), false};
        changes.push_back({DiskChange::What::File, normal});
        return true;
    }
    CString FontsFolder() override
    {
        Calls().Count();
        return "C:\\Windows\\Fonts";
    }
    Kind KindOf(const CString& path) override
    {
        std::lock_guard lock(m_mutex);
        return KindAt(Reach(path));
    }
    bool MakeFolders(const CString& folder, std::vector<CString>& made) override
    {
        std::lock_guard lock(m_mutex);
        const std::u16string normal = Reach(folder);
        if (!Serves(normal) || PlaceOf(normal) != Place::Local)
            return false;
        if (normal.size() == RootLength(normal))
            return true;  // a drive is there
        std::vector<std::u16string> missing;
        for (const std::u16string& above : FoldersAbove(normal + u"\\x")) {
            if (disk.files.contains(Key(above)))
                return false;
            if (!disk.folders.contains(Key(above)))
                missing.push_back(above);
        }
        for (auto above = missing.rbegin(); above != missing.rend(); ++above) {
            disk.folders.insert(Key(*above));
            changes.push_back({DiskChange::What::Folder, *above});
            made.push_back(kRules.toAnsi(*above));
        }
        return true;
    }
    bool Copy(const CString& from, const CString& to) override
    {
        std::lock_guard lock(m_mutex);
        const std::u16string source = Reach(from);
        const std::u16string target = Reach(to);
        if (m_copies++ == failCopyAt || !Serves(source) || !Serves(target))
            return false;
        const auto found = disk.files.find(Key(source));
        if (found == disk.files.end() || KindAt(target) != Kind::Nothing || !CanMake(target))
            return false;
        disk.files[Key(target)] = {target, found->second.bytes, false};
        changes.push_back({DiskChange::What::File, target});
        return true;
    }
    bool Rename(const CString& from, const CString& to) override
    {
        std::lock_guard lock(m_mutex);
        const std::u16string source = Reach(from);
        const std::u16string target = Reach(to);
        if (!Serves(source) || !Serves(target))
            return false;
        const auto found = disk.files.find(Key(source));
        if (found == disk.files.end() || KindAt(target) != Kind::Nothing || !CanMake(target))
            return false;
        StoredFile file = found->second;
        file.path = target;
        disk.files.erase(found);
        disk.files[Key(target)] = std::move(file);
        changes.push_back({DiskChange::What::Removed, source});
        changes.push_back({DiskChange::What::File, target});
        return true;
    }
    bool Delete(const CString& file) override
    {
        std::lock_guard lock(m_mutex);
        const std::u16string normal = Reach(file);
        const auto found = Serves(normal) ? disk.files.find(Key(normal)) : disk.files.end();
        if (found == disk.files.end() || found->second.readOnly)
            return false;  // a read-only file cannot be deleted
        disk.files.erase(found);
        changes.push_back({DiskChange::What::Removed, normal});
        return true;
    }
    bool RemoveFolder(const CString& folder) override
    {
        std::lock_guard lock(m_mutex);
        const std::u16string normal = Reach(folder);
        if (!Serves(normal) || KindAt(normal) != Kind::EmptyFolder)
            return false;
        disk.folders.erase(Key(normal));
        changes.push_back({DiskChange::What::RemovedFolder, normal});
        return true;
    }

private:
    // A file's bytes as they were when it was opened; another program may rewrite the
    // file once it is closed.
    class OpenFile : public ReadableFile {
    public:
        OpenFile(FuzzFiles& files, std::u16string key, std::string bytes)
            : m_files(files), m_key(std::move(key)), m_bytes(std::move(bytes))
        {
        }
        ~OpenFile() override { m_files.Closed(m_key); }
        std::uint64_t Size() const override
        {
            Calls().Count();
            return m_bytes.size();
        }
        bool ReadAt(std::uint64_t offset, std::size_t size, std::string& part) override
        {
            Calls().Count();
            if (offset > m_bytes.size() || size > m_bytes.size() - offset)
                return false;
            part = m_bytes.substr(static_cast<std::size_t>(offset), size);
            std::lock_guard lock(m_files.m_mutex);
            m_files.ReadTo(m_key, offset + size);
            return true;
        }

    private:
        FuzzFiles& m_files;
        std::u16string m_key;
        std::string m_bytes;
    };

    void Closed(const std::u16string& key)
    {
        std::lock_guard lock(m_mutex);
        const auto change = rewrittenAfterRead.find(key);
        const auto file = disk.files.find(key);
        if (change != rewrittenAfterRead.end() && file != disk.files.end())
            file->second.bytes = change->second;
        if (change != rewrittenAfterRead.end())
            rewrittenAfterRead.erase(change);
    }

    void ReadTo(const std::u16string& key, std::uint64_t end)
    {
        std::uint64_t& furthest = readUpTo[key];
        furthest = std::max(furthest, end);
    }

    // Counts the call and gives the path as Windows takes it; an unreachable place named
    // while guarded is recorded.
    std::u16string Reach(const CString& path)
    {
        Calls().Count();
        const std::u16string normal = Normal(kRules.toWide(path));
        if (guarded && PlaceOf(normal) == Place::Unreachable)
            reached.push_back(normal);
        return normal;
    }

    // Whether the machine gives anything at that place: its drives, and shares while not
    // guarded (the machine that packs may keep its fonts on one).
    bool Serves(const std::u16string& normal) const
    {
        const Place place = PlaceOf(normal);
        return place == Place::Local || (!guarded && IsShare(normal));
    }

    bool IsFolder(const std::u16string& normal) const
    {
        return (normal.size() == 3 && HasDrive(normal)) || disk.folders.contains(Key(normal)) ||
               (IsShare(normal) && normal.find(u'\\', normal.find(u'\\', 2) + 1) == std::u16string::npos);
    }

    // A file can be made there: its folder is there.
    bool CanMake(const std::u16string& normal) const
    {
        const std::u16string folder = FolderOf(normal);
        return !folder.empty() && IsFolder(folder) && !IsFolder(normal);
    }

    Kind KindAt(const std::u16string& normal) const
    {
        if (!Serves(normal))
            return Kind::Nothing;
        if (disk.files.contains(Key(normal)))
            return Kind::File;
        if (!IsFolder(normal))
            return Kind::Nothing;
        const std::u16string inside = Key(normal.ends_with(u'\\') ? normal : normal + u"\\");
        const auto under = [&](const std::u16string& key) { return key.starts_with(inside) && key != inside; };
        const bool empty = std::ranges::none_of(disk.files, [&](const auto& file) { return under(file.first); }) &&
                           std::ranges::none_of(disk.folders, under);
        return empty ? Kind::EmptyFolder : Kind::Folder;
    }

    std::mutex m_mutex;
    int m_copies = 0;
};

// That the command reached for no unreachable place; those it did are shown.
inline void ExpectNothingReached(const FuzzFiles& files)
{
    for (const std::u16string& place : files.reached)
        Log() += "  reached for " + ToUtf8(place) + "\n";
    Expect(files.reached.empty(), "unpack never reaches for a share, a device or a stream");
}

// --- The other ports ---

// The key EUDC\N as FakeRegistry keeps it, every call counted, and any other key that a
// command opens for writing or creates recorded.
class FuzzRegistry : public Registry {
public:
    Events events;
    FakeRegistry values{events};
    std::vector<std::string> otherKeysWritten;

    std::unique_ptr<RegistryKey> OpenKey(const char* subkey, std::uint32_t access, long& result) override
    {
        Calls().Count();
        if (subkey != values.subkey && access != registry::kRead)
            otherKeysWritten.push_back(subkey);
        return Wrap(values.OpenKey(subkey, access, result));
    }
    std::unique_ptr<RegistryKey> CreateKey(const char* subkey, const char* keyClass, std::uint32_t access) override
    {
        Calls().Count();
        if (subkey != values.subkey)
            otherKeysWritten.push_back(subkey);
        return Wrap(values.CreateKey(subkey, keyClass, access));
    }

private:
    class Key : public RegistryKey {
    public:
        explicit Key(std::unique_ptr<RegistryKey> key) : m_key(std::move(key)) {}
        long EnumValue(std::uint32_t index, char16_t* name, std::uint32_t& nameLength, std::uint32_t& type,
                       unsigned char* data, std::uint32_t& dataSize) override
        {
            Calls().Count();
            return m_key->EnumValue(index, name, nameLength, type, data, dataSize);
        }
        long QueryValue(const std::u16string& name, std::uint32_t& type, unsigned char* data,
                        std::uint32_t& dataSize) override
        {
            Calls().Count();
            return m_key->QueryValue(name, type, data, dataSize);
        }
        long SetValue(const StoredValue& value) override
        {
            Calls().Count();
            return m_key->SetValue(value);
        }
        long DeleteValue(const std::u16string& name) override
        {
            Calls().Count();
            return m_key->DeleteValue(name);
        }

    private:
        std::unique_ptr<RegistryKey> m_key;
    };

    std::unique_ptr<RegistryKey> Wrap(std::unique_ptr<RegistryKey> key)
    {
        return key ? std::make_unique<Key>(std::move(key)) : nullptr;
    }
};

class FuzzLibraries : public Libraries {
public:
    std::unique_ptr<Library> Load(const char* fileName) override
    {
        Calls().Count();
        return m_libraries.Load(fileName);
    }

private:
    Events m_events;
    FakeLibraries m_libraries{m_events};
};

class FuzzFonts : public FontSource {
public:
    void EnumerateFamilies(const FontVisitor& visit) override
    {
        Calls().Count();
        m_fonts.EnumerateFamilies(visit);
    }
    void EnumerateFamily(const CString& faceName, const FontVisitor& visit) override
    {
        Calls().Count();
        m_fonts.EnumerateFamily(faceName, visit);
    }

    // The installed families, in the system's order.
    std::vector<EnumeratedFont>& Families() { return m_fonts.families; }

private:
    FakeFontSource m_fonts{{{"Xyz", fonts::kBig5CharSet, fonts::kTrueType},
                            {"AR PL UMing TW", fonts::kBig5CharSet, fonts::kTrueType}}};
};

class FuzzConsole : public Console {
public:
    std::string out, err;
    void Out(std::string_view text) override
    {
        Calls().Count();
        out += text;
    }
    void Err(std::string_view text) override
    {
        Calls().Count();
        err += text;
    }
};

class FuzzCodePages : public CodePages {
public:
    unsigned SystemCodePage() override
    {
        Calls().Count();
        return 950;
    }
    bool Use(unsigned, CodePageRules& rules) override
    {
        Calls().Count();
        rules = kRules;
        return true;
    }
};

class FuzzHashing : public Hashing {
public:
    std::string Sha256(ReadableFile& file) override
    {
        Calls().Count();
        std::string bytes;
        return file.ReadAt(0, static_cast<std::size_t>(file.Size()), bytes) ? Digest(bytes) : std::string();
    }
};

// One machine: its key of code page `codePage`, its files, and eudclink run on them.
class Machine {
public:
    explicit Machine(unsigned codePage) : m_codePage(codePage)
    {
        registry.values.subkey = "EUDC\\" + std::to_string(codePage);
    }

    FuzzRegistry registry;
    FuzzFiles files;
    FuzzConsole console;

    // Runs the command line with --codepage N, within `budget` port calls; its console
    // text is kept for a failure's report.
    int Run(std::vector<std::u16string> arguments, long budget)
    {
        arguments.insert(arguments.begin(), {u"--codepage", Wide(std::to_string(m_codePage))});
        std::string line = "eudclink";
        for (const std::u16string& argument : arguments)
            line += " " + ToUtf8(argument);
        console = {};
        Calls().Start(budget);
        Log() += line + "\n";
        const int status = RunEudclink(m_with, arguments);
        Log() += "  status " + std::to_string(status) + "\n  out: " + console.out + "\n  err: " + console.err + "\n";
        return status;
    }

    std::vector<EnumeratedFont>& Families() { return m_fonts.Families(); }

    // Whether the command refused: it failed and said why on standard error. (A command
    // that did its work and then found a link that cannot work exits 1 too, saying so on
    // standard output.)
    bool Refused(int status) const { return status != status::kDone && !console.err.empty(); }

private:
    unsigned m_codePage;
    FuzzLibraries m_libraries;
    FuzzFonts m_fonts;
    FuzzCodePages m_codePages;
    FuzzHashing m_hashing;
    const Eudclink m_with{{registry, m_libraries, m_fonts, files, kRules}, console, "fuzz", m_codePages, m_hashing};
};

// --- Reading the fuzzer's bytes ---

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool AtEnd() const { return m_at == m_size; }
    std::uint8_t Byte() { return AtEnd() ? 0 : m_data[m_at++]; }
    // Two bytes of length, then that many bytes, 'x' where the input ends first.
    std::string Bytes(std::size_t longest)
    {
        const std::size_t high = Byte();
        const std::size_t length = std::min(high << 8 | Byte(), longest);
        const std::size_t available = std::min(length, m_size - m_at);
        std::string bytes(reinterpret_cast<const char*>(m_data + m_at), available);
        m_at += available;
        bytes.resize(length, 'x');
        return bytes;
    }
    // UTF-16, two bytes a unit, as Bytes gives them.
    std::u16string Units(std::size_t longest)
    {
        const std::string bytes = Bytes(2 * longest);
        std::u16string units;
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
            units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
        return units;
    }

    // A path: one byte, then either any text (the byte's top bit set) or the byte chooses
    // a root (3 bits) and a number of folders (2 bits), each folder and the file's name
    // then a byte choosing from the lists below. The lists hold every kind of place a
    // link can name.
    std::u16string Path()
    {
        static const char16_t* const roots[] = {u"C:\\", u"C:/", u"D:\\", u"\\\\host\\share\\", u"\\\\?\\C:\\",
                                                u"\\\\.\\C:\\", u"", u"E:\\"};
        static const char16_t* const folders[] = {u"eudc", u"EUDC", u"fonts", u"\u529F", u"x y", u"..", u"P", u"T"};
        static const char16_t* const names[] = {u"A.TTE", u"a.tte", u"B.TTF", u"\u529F.TTE", u"\u00E9\u00C9.TTE",
                                                u"eE.TTE", u"NUL.TTE", u"COM1.TTE", u"LPT1.TTE", u"evil.dll:x.TTE",
                                                u"A.EUF", u"C.TXT", u"A.TTE.old", u"A.TTF", u"D.TTE", u"E.tte"};
        const std::uint8_t shape = Byte();
        if (shape & 0x80)
            return Units(300);
        const std::u16string root = roots[shape & 7];
        const char16_t separator = root == u"C:/" ? u'/' : u'\\';
        std::u16string path = root;
        for (int folder = (shape >> 3) & 3; folder > 0; --folder)
            path += std::u16string(folders[Byte() % std::size(folders)]) + separator;
        return path + names[Byte() % std::size(names)];
    }

    // A value's name: one byte choosing a font's or the default's name, or any (0xFF).
    std::u16string ValueName()
    {
        static const char16_t* const names[] = {u"SystemDefaultEUDCFont", u"Xyz", u"AR PL UMing TW", u"Foo",
                                                u"foo", u"\u529F", u"Old Font"};
        const std::uint8_t choice = Byte();
        std::u16string name = choice == 0xFF ? Units(300) : names[choice % std::size(names)];
        std::erase(name, u'\0');  // the registry's names have none
        return name;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

// A font the checks accept, made different by `tail`; or bytes that are no font.
inline std::string FontBytes(const std::string& tail)
{
    return EudcFont() + tail;
}
inline std::string NotAFont(const std::string& tail)
{
    return "not a font " + tail;
}

// --- Properties of a machine's state ---

// Whether the value of that name, found as the registry finds it, is there.
inline const StoredValue* ValueNamed(const std::vector<StoredValue>& values, const std::u16string& name)
{
    const auto found = std::ranges::find_if(values, [&](const StoredValue& value) { return Key(value.name) == Key(name); });
    return found == values.end() ? nullptr : &*found;
}

// What differs between the two states, for a failure's report.
inline void LogDifferences(const DiskState& before, const DiskState& after)
{
    for (const auto& [key, file] : before.files) {
        const auto now = after.files.find(key);
        if (now == after.files.end())
            Log() += "  gone: " + ToUtf8(file.path) + "\n";
        else if (!(now->second == file))
            Log() += "  changed: " + ToUtf8(file.path) + (now->second.readOnly ? " (read-only)" : "") + "\n";
    }
    for (const auto& [key, file] : after.files) {
        if (!before.files.contains(key))
            Log() += "  new: " + ToUtf8(file.path) + (file.readOnly ? " (read-only)" : "") + "\n";
    }
    for (const std::u16string& folder : after.folders) {
        if (!before.folders.contains(folder))
            Log() += "  new folder: " + ToUtf8(folder) + "\n";
    }
    for (const std::u16string& folder : before.folders) {
        if (!after.folders.contains(folder))
            Log() += "  folder gone: " + ToUtf8(folder) + "\n";
    }
}

// Whether the two keys hold the same values, names' letters included, in any order: a
// value deleted and made again comes last, and nothing can put it back in its place.
inline bool SameValues(std::vector<StoredValue> a, std::vector<StoredValue> b)
{
    const auto byName = [](const StoredValue& x, const StoredValue& y) { return Key(x.name) < Key(y.name); };
    std::ranges::sort(a, byName);
    std::ranges::sort(b, byName);
    return a == b;
}

// The keys of the files that the key's links name, of the .EUF files beside them, and of
// either as NAME.old.
inline std::set<std::u16string> NamedFiles(const std::vector<StoredValue>& values)
{
    std::set<std::u16string> named;
    for (const StoredValue& value : values) {
        const std::u16string path = value.type == registry::kString ? LinkPath(TextOf(value)) : u"";
        if (!path.empty())
            named.insert({Key(path), Key(EditorBeside(path)), Key(path + u".old"), Key(EditorBeside(path) + u".old")});
    }
    return named;
}

// Whether a change the command made is at that place or inside it.
inline bool IsInside(const std::u16string& path, const std::u16string& folder)
{
    const std::u16string key = Key(path);
    const std::u16string inside = Key(folder.ends_with(u'\\') ? folder : folder + u"\\");
    return key.starts_with(inside) && key.find(u'\\', inside.size()) == std::u16string::npos;
}

}  // namespace fuzz
