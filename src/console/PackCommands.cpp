// pack and unpack: the key's links and the files they name, carried to another machine
// as a folder that a person can read, zip and mail. Unpack checks the whole folder before
// it changes anything, and puts back what it changed when a step fails.
#include <algorithm>
#include <atomic>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "console/Commands.h"
#include "console/ConsoleText.h"
#include "model/EudcPath.h"
#include "model/LinkRows.h"
#include "model/PackManifest.h"
#include "model/RegFile.h"

namespace {

// Far more than a manifest of a key's files needs.
constexpr std::size_t kLargestManifest = 16u << 20;
constexpr std::size_t kLargestRegFile = 64u << 20;

CString Joined(const CString& folder, const CString& name)
{
    return folder.ends_with('\\') ? folder + name : folder + "\\" + name;
}

// The folder part of a full path, without its last backslash.
CString FolderOf(const CString& path, const CodePageRules& rules)
{
    const CString name = LinkFileName(path, rules.isLeadByte);
    return path.substr(0, path.size() - name.size() - (path.size() > name.size() ? 1 : 0));
}

// The EUDC editor keeps its own data beside a font: the same name, extension .EUF.
CString EditorFileOf(const CString& path, const CodePageRules& rules)
{
    const CString name = LinkFileName(path, rules.isLeadByte);
    const std::size_t dot = name.rfind('.');  // no lead byte is ever a dot
    return path.substr(0, path.size() - name.size()) + name.substr(0, dot) + ".EUF";
}

// The file's size and SHA-256, read from the file itself.
bool Measure(const Eudclink& with, const CString& path, std::uint64_t& size, std::string& sha256)
{
    const std::unique_ptr<ReadableFile> file = with.files.Open(path);
    if (!file)
        return false;
    size = file->Size();
    sha256 = with.hashing.Sha256(*file);
    return !sha256.empty();
}

struct Measured {
    bool ok = false;
    std::uint64_t size = 0;
    std::string sha256;
};

// Sizes and SHA-256 of many files, on as many threads as the machine has cores, up to
// four: hashing takes far longer than reading, and each file is hashed on its own.
std::vector<Measured> MeasureAll(const Eudclink& with, const std::vector<CString>& paths)
{
    std::vector<Measured> measured(paths.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < paths.size(); i = next++)
            measured[i].ok = Measure(with, paths[i], measured[i].size, measured[i].sha256);
    };
    std::vector<std::thread> workers;
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    for (unsigned t = 1; t < threads && t < paths.size(); ++t)
        workers.emplace_back(work);
    work();
    for (std::thread& worker : workers)
        worker.join();
    return measured;
}

// --- pack ---

// A file that a link names, with the values that name it.
struct LinkedFileOf {
    CString path;
    std::vector<std::u16string> names;
    LinkState state = LinkState::Unchecked;  // linked when the file is a font that can go
};

// Every file that a string value of the key names, once each however many values name it.
std::vector<LinkedFileOf> LinkedFiles(const Eudclink& with, const std::vector<StoredValue>& values)
{
    std::vector<LinkedFileOf> linked;
    std::map<std::u16string, std::size_t> seen;
    const CString fontsFolder = with.files.FontsFolder();
    for (const StoredValue& value : values) {
        if (value.type != registry::kString)
            continue;
        const CString file = LinkedFile(ValueText(value, with.rules.toAnsi), fontsFolder, with.rules.isLeadByte);
        if (file.empty())
            continue;
        const auto [at, added] = seen.emplace(with.rules.KeyOf(file), linked.size());
        if (added)
            linked.push_back({file, {}});
        linked[at->second].names.push_back(value.name);
    }
    return linked;
}

// What pack writes into the folder, so that a failure takes it all away again.
class PackWriter {
public:
    PackWriter(const Eudclink& with, CString folder) : m_with(with), m_folder(std::move(folder)) {}

    bool MakeFolder() { return m_with.files.MakeFolders(m_folder, m_folders); }

    // A name in the folder not taken yet, as the file's own where it can be.
    std::u16string FreeName(const CString& original, const std::u16string& extension = {})
    {
        std::u16string name = m_with.rules.toWide(LinkFileName(original, m_with.rules.isLeadByte));
        if (!extension.empty())
            name = name.substr(0, name.rfind(u'.')) + extension;
        const std::size_t dot = std::min(name.rfind(u'.'), name.size());
        std::u16string free = name;
        for (int n = 2; !IsPlainFileName(free) || m_taken.contains(m_with.rules.nameKey(free)); ++n)
            free = name.substr(0, dot) + u"~" + Number(n) + name.substr(dot);
        m_taken.insert(m_with.rules.nameKey(free));
        return free;
    }

    // Copies the file in as `name`, and gives its manifest entry, whose size and SHA-256
    // are taken from the copy once every file is in.
    bool CopyIn(PackEntry::Kind kind, const CString& from, const std::u16string& name, PackEntry& entry)
    {
        const CString to = Joined(m_folder, m_with.rules.toAnsi(name));
        if (!m_with.files.Copy(from, to))
            return false;
        m_files.push_back(to);
        entry = {kind, 0, {}, name, m_with.rules.toWide(from)};
        return true;
    }

    // Each entry's size and SHA-256, from its file in the folder; false when one cannot be
    // read, which it names.
    bool MeasureEntries(std::vector<PackEntry>& entries, CString& unreadable)
    {
        std::vector<CString> paths;
        for (const PackEntry& entry : entries) {
            if (entry.kind != PackEntry::Kind::LinkOnly)
                paths.push_back(Joined(m_folder, m_with.rules.toAnsi(entry.stored)));
        }
        const std::vector<Measured> measured = MeasureAll(m_with, paths);
        std::size_t next = 0;
        for (PackEntry& entry : entries) {
            if (entry.kind == PackEntry::Kind::LinkOnly)
                continue;
            const Measured& file = measured[next];
            if (!file.ok) {
                unreadable = paths[next];
                return false;
            }
            entry.size = file.size;
            entry.sha256 = file.sha256;
            ++next;
        }
        return true;
    }

    bool Write(const char* name, std::string_view bytes)
    {
        const CString path = Joined(m_folder, name);
        if (!m_with.files.Replace(path, bytes))
            return false;
        m_files.push_back(path);
        return true;
    }

    // The folder as it was: without what pack wrote into it, or gone if pack made it.
    void TakeBack()
    {
        for (const CString& file : m_files)
            m_with.files.Delete(file);
        for (auto folder = m_folders.rbegin(); folder != m_folders.rend(); ++folder)
            m_with.files.RemoveFolder(*folder);
    }

private:
    static std::u16string Number(int n)
    {
        const std::string digits = std::to_string(n);
        return std::u16string(digits.begin(), digits.end());
    }

    const Eudclink& m_with;
    CString m_folder;
    std::vector<CString> m_folders;
    std::vector<CString> m_files;
    std::set<std::u16string> m_taken{u"MANIFEST.TXT", u"LINKS.REG"};
};

std::string NamesOf(const std::vector<std::u16string>& names)
{
    std::string text;
    for (const std::u16string& name : names)
        text += (text.empty() ? "" : ", ") + Shown(name);
    return text;
}

// --- unpack ---

// A file of the folder on its way to this machine.
struct Arrival {
    const PackEntry* entry;
    CString from;      // in the packed folder
    CString to;        // where it goes
    bool there = false;  // `to` already holds the same bytes
    bool keepOld = false;  // `to` holds other bytes, kept as `to`.old
};

// What unpack changed, so that a failure puts it back.
class Unpacking {
public:
    explicit Unpacking(const Eudclink& with) : m_with(with) {}

    bool Place(const Arrival& arrival)
    {
        if (arrival.there)
            return true;
        // Each folder is made, or found there, once.
        const CString folder = FolderOf(arrival.to, m_with.rules);
        if (!m_ready.contains(folder) && !m_with.files.MakeFolders(folder, m_folders))
            return false;
        m_ready.insert(folder);
        if (arrival.keepOld) {
            if (!m_with.files.Rename(arrival.to, arrival.to + ".old"))
                return false;
            m_kept.push_back(arrival.to);
        }
        if (!m_with.files.Copy(arrival.from, arrival.to))
            return false;
        m_copied.push_back(arrival.to);
        return true;
    }

    // Every file and folder as before, newest change first.
    void PutBack()
    {
        for (auto file = m_copied.rbegin(); file != m_copied.rend(); ++file)
            m_with.files.Delete(*file);
        for (auto file = m_kept.rbegin(); file != m_kept.rend(); ++file)
            m_with.files.Rename(*file + ".old", *file);
        for (auto folder = m_folders.rbegin(); folder != m_folders.rend(); ++folder)
            m_with.files.RemoveFolder(*folder);
    }

private:
    const Eudclink& m_with;
    std::vector<CString> m_copied;
    std::vector<CString> m_kept;
    std::vector<CString> m_folders;
    std::set<CString> m_ready;
};

int Refuse(const Eudclink& with, const std::string& why)
{
    Complain(with, why + "; nothing was changed");
    return status::kRefused;
}

// The reason the packed file cannot be taken as the manifest describes it, or empty.
std::string CheckPacked(const Eudclink& with, const PackEntry& entry, const CString& path, const Measured& file)
{
    const std::string shown = Shown(path, with.rules);
    if (!with.files.IsFile(path))
        return shown + ": no such file in the packed folder";
    if (!file.ok)
        return shown + ": cannot be read";
    if (file.size != entry.size)
        return shown + ": " + std::to_string(file.size) + " bytes, where " + std::to_string(entry.size) +
               " were packed";
    if (file.sha256 != entry.sha256)
        return shown + ": its content is not what was packed (another SHA-256)";
    if (entry.kind == PackEntry::Kind::Font && CheckFontFile(with.files, path).state != LinkState::Linked)
        return shown + ": not a TrueType font with a readable character map";
    return {};
}

// The reason the file cannot go where it must, or empty; marks a target that holds the
// same bytes already, or other bytes to keep.
std::string CheckTarget(const Eudclink& with, Arrival& arrival, bool overwrite)
{
    const std::string shown = Shown(arrival.to, with.rules);
    if (arrival.entry->kind == PackEntry::Kind::Font && arrival.to.size() > files::kLongestPath)
        return shown + ": the full path is longer than a link holds (" + std::to_string(files::kLongestPath) + " bytes)";
    switch (with.files.KindOf(arrival.to)) {
    case Files::Kind::Nothing: return {};
    case Files::Kind::EmptyFolder:
    case Files::Kind::Folder: return shown + ": a folder is there";
    case Files::Kind::File: break;
    }
    std::uint64_t size = 0;
    std::string sha256;
    if (Measure(with, arrival.to, size, sha256) && size == arrival.entry->size && sha256 == arrival.entry->sha256) {
        arrival.there = true;
        return {};
    }
    if (!overwrite)
        return shown + ": another file is there; --overwrite keeps it as " +
               Shown(LinkFileName(arrival.to, with.rules.isLeadByte), with.rules) + ".old";
    if (with.files.KindOf(arrival.to + ".old") != Files::Kind::Nothing)
        return shown + ": another file is there, and so is " + Shown(arrival.to + ".old", with.rules);
    arrival.keepOld = true;
    return {};
}

// The key file's entries with each link to a packed font pointing where the font went.
std::vector<RegFileEntry> Relinked(const Eudclink& with, std::vector<RegFileEntry> entries,
                                   const std::vector<Arrival>& arrivals)
{
    std::map<std::u16string, CString> moved;
    for (const Arrival& arrival : arrivals) {
        if (arrival.entry->kind == PackEntry::Kind::Font)
            moved[with.rules.nameKey(arrival.entry->original)] = arrival.to;
    }
    const CString fontsFolder = with.files.FontsFolder();
    for (RegFileEntry& entry : entries) {
        if (entry.deleted || entry.value.type != registry::kString)
            continue;
        const CString text = ValueText(entry.value, with.rules.toAnsi);
        const CString file = LinkedFile(text, fontsFolder, with.rules.isLeadByte);
        const auto found = file.empty() ? moved.end() : moved.find(with.rules.KeyOf(file));
        if (found != moved.end() && !with.rules.IsSameName(found->second, file))
            entry.value = StringValue(entry.value.name, found->second, with.rules.toWide);
    }
    return entries;
}

// The links just written that cannot work, as check shows them; 1 when there is one.
int CheckWritten(const Eudclink& with, const std::vector<RegFileEntry>& entries)
{
    std::vector<StoredValue> written;
    for (const RegFileEntry& entry : entries) {
        if (!entry.deleted)
            written.push_back(entry.value);
    }
    std::vector<LinkRow> rows = MakeRows({}, written, with.files.FontsFolder(), with.rules);
    for (LinkRow& row : rows)
        CheckLinkedFile(row, with.files);
    std::erase_if(rows, [](const LinkRow& row) { return !IsProblem(row.state); });
    if (rows.empty()) {
        with.console.Out("Every link it wrote works.\n");
        return status::kDone;
    }
    with.console.Out("Links it wrote that cannot work:\n" + TableOf(rows, with.rules));
    return status::kRefused;
}

}  // namespace

int PackLinks(const Eudclink& with, const CString& given, bool strict)
{
    CString folder;
    if (!with.files.FullPath(given, folder))
        return Refuse(with, Shown(given, with.rules) + ": not a path");
    const Files::Kind kind = with.files.KindOf(folder);
    if (kind == Files::Kind::File || kind == Files::Kind::Folder)
        return Refuse(with, Shown(folder, with.rules) + ": not a new or empty folder");
    std::vector<StoredValue> values;
    if (!ReadKey(with, values))
        return status::kRegistry;

    std::vector<LinkedFileOf> linked = LinkedFiles(with, values);
    std::vector<std::string> linkOnly;
    for (LinkedFileOf& file : linked) {
        file.state = CheckFontFile(with.files, file.path).state;
        if (file.state != LinkState::Linked)
            linkOnly.push_back(Shown(file.path, with.rules) + " (" + NamesOf(file.names) + "): " +
                               (file.state == LinkState::MissingFile ? "no such file" : "not a font"));
    }
    if (strict && !linkOnly.empty()) {
        for (const std::string& line : linkOnly)
            Complain(with, line);
        return Refuse(with, "--strict packs no link without its file");
    }

    PackWriter writer(with, folder);
    PackManifest manifest{with.key.path, {}};
    std::string report;
    const auto failed = [&](const CString& what) {
        writer.TakeBack();
        Complain(with, Shown(what, with.rules) + ": cannot be packed into " + Shown(folder, with.rules) +
                           "; nothing was left there");
        return status::kRefused;
    };
    if (!writer.MakeFolder())
        return failed(folder);
    const std::string keyFile = WriteRegFile(with.key.path, values);
    if (!writer.Write(kPackedKeyName, keyFile))
        return failed(kPackedKeyName);
    manifest.entries.push_back({PackEntry::Kind::Links, 0, {}, u"links.reg", {}});

    std::size_t packed = 0;
    for (const LinkedFileOf& file : linked) {
        if (file.state != LinkState::Linked) {
            manifest.entries.push_back({PackEntry::Kind::LinkOnly, 0, {}, {}, with.rules.toWide(file.path)});
            continue;
        }
        PackEntry& font = manifest.entries.emplace_back();
        const std::u16string name = writer.FreeName(file.path);
        if (!writer.CopyIn(PackEntry::Kind::Font, file.path, name, font))
            return failed(file.path);
        report += "packed " + Shown(file.path, with.rules) + "\n";
        ++packed;
        const CString editor = EditorFileOf(file.path, with.rules);
        if (!with.files.IsFile(editor))
            continue;
        PackEntry& editorEntry = manifest.entries.emplace_back();
        if (!writer.CopyIn(PackEntry::Kind::Editor, editor, writer.FreeName(with.rules.toAnsi(name), u".EUF"),
                           editorEntry))
            return failed(editor);
        report += "packed " + Shown(editor, with.rules) + "\n";
        ++packed;
    }
    if (CString unreadable; !writer.MeasureEntries(manifest.entries, unreadable))
        return failed(unreadable);
    if (!writer.Write(kManifestName, WriteManifest(manifest)))
        return failed(kManifestName);

    for (const std::string& line : linkOnly)
        report += "link only: " + line + "\n";
    report += std::to_string(values.size()) + " values and " + std::to_string(packed) + " files packed into " +
              Shown(folder, with.rules) + "\n";
    with.console.Out(report);
    return status::kDone;
}

int UnpackLinks(const Eudclink& with, const CString& given, const UnpackOptions& options)
{
    CString folder;
    if (!with.files.FullPath(given, folder))
        return Refuse(with, Shown(given, with.rules) + ": not a path");
    const CString manifestPath = Joined(folder, kManifestName);
    std::string text;
    if (!with.files.Read(manifestPath, kLargestManifest, text))
        return Refuse(with, Shown(manifestPath, with.rules) + ": no such file, or too large; not a packed folder");
    const ManifestReading reading = ReadManifest(text);
    if (!reading.ok) {
        const std::string where = reading.errorLine ? ", line " + std::to_string(reading.errorLine) : "";
        return Refuse(with, Shown(manifestPath, with.rules) + where + ": " + reading.error);
    }
    const PackManifest& manifest = reading.manifest;
    if (manifest.key != with.key.path)
        return Refuse(with, "the folder holds the links of " + Shown(manifest.key) + ", not of " +
                                Shown(with.key.path) + " (see --codepage)");

    CString to;
    if (!options.to.empty() && !with.files.FullPath(options.to, to))
        return Refuse(with, Shown(options.to, with.rules) + ": not a path");
    // Every packed file first, then every place one goes.
    std::vector<CString> packed;
    for (const PackEntry& entry : manifest.entries) {
        if (entry.kind != PackEntry::Kind::LinkOnly)
            packed.push_back(Joined(folder, with.rules.toAnsi(entry.stored)));
    }
    const std::vector<Measured> measured = MeasureAll(with, packed);
    std::vector<Arrival> arrivals;
    std::optional<RegFileReading> keyFile;
    std::size_t next = 0;
    for (const PackEntry& entry : manifest.entries) {
        if (entry.kind == PackEntry::Kind::LinkOnly)
            continue;
        const CString& from = packed[next];
        if (const std::string why = CheckPacked(with, entry, from, measured[next++]); !why.empty())
            return Refuse(with, why);
        if (entry.kind != PackEntry::Kind::Links) {
            const CString original = with.rules.toAnsi(entry.original);
            arrivals.push_back({&entry, from, to.empty() ? original : Joined(to, LinkFileName(original, with.rules.isLeadByte))});
            continue;
        }
        std::string bytes;
        if (!with.files.Read(from, kLargestRegFile, bytes))
            return Refuse(with, Shown(from, with.rules) + ": cannot be read whole");
        keyFile = ReadRegFile(bytes, with.key.path, with.rules.toWide);
        if (!keyFile->ok)
            return Refuse(with, Shown(from, with.rules) + ": " + keyFile->error);
    }
    std::set<std::u16string> targets;
    for (Arrival& arrival : arrivals) {
        if (!targets.insert(with.rules.KeyOf(arrival.to)).second)
            return Refuse(with, "two packed files would go to " + Shown(arrival.to, with.rules));
        if (const std::string why = CheckTarget(with, arrival, options.overwrite); !why.empty())
            return Refuse(with, why);
    }
    const std::vector<RegFileEntry> entries = Relinked(with, keyFile->entries, arrivals);

    Unpacking unpacking(with);
    std::string report;
    for (const Arrival& arrival : arrivals) {
        if (!unpacking.Place(arrival)) {
            unpacking.PutBack();
            Complain(with, Shown(arrival.to, with.rules) + ": cannot be written; the files copied were removed "
                                                           "again and nothing was changed");
            return status::kRefused;
        }
        if (arrival.keepOld)
            report += "kept the old " + Shown(arrival.to, with.rules) + " as " +
                      Shown(LinkFileName(arrival.to, with.rules.isLeadByte), with.rules) + ".old\n";
        report += (arrival.there ? "already there " : "copied ") + Shown(arrival.to, with.rules) + "\n";
    }
    with.console.Out(report);
    const int imported = ImportEntries(with, entries, options.replace);
    if (imported != status::kDone) {
        unpacking.PutBack();
        Complain(with, "the files copied were removed again");
        return imported;
    }
    return CheckWritten(with, entries);
}
