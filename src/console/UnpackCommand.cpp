// unpack: a packed folder's links and files on this machine. The folder may have come by
// mail: the whole plan is checked before anything changes, only plain files on this
// machine's own drives are written, the bytes the key will name are checked where they
// were written, and a failure puts back exactly what was there.
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "console/Commands.h"
#include "console/ConsoleText.h"
#include "console/PackedFiles.h"
#include "model/EudcPath.h"
#include "model/LinkRows.h"
#include "model/PackManifest.h"
#include "model/RegFile.h"
#include "platform/Unicode.h"

namespace {

// Far more than a manifest of a key's files needs.
constexpr std::size_t kLargestManifest = 16u << 20;

// Bytes already read, hashed as a file is: the key's file is checked as it was read.
class BytesFile : public ReadableFile {
public:
    explicit BytesFile(const std::string& bytes) : m_bytes(bytes) {}
    std::uint64_t Size() const override { return m_bytes.size(); }
    bool ReadAt(std::uint64_t offset, std::size_t size, std::string& bytes) override
    {
        if (offset > m_bytes.size() || size > m_bytes.size() - offset)
            return false;
        bytes = m_bytes.substr(static_cast<std::size_t>(offset), size);
        return true;
    }

private:
    const std::string& m_bytes;
};

// A packed file on its way to this machine.
struct Arrival {
    const PackEntry* entry;
    CString from;          // in the packed folder
    CString to;            // where it goes: a plain file on one of this machine's drives
    bool there = false;    // `to` holds the same bytes already
    bool keepOld = false;  // `to` holds other bytes, kept as `to`.old
};

// What unpack does, all decided before anything changes.
struct UnpackPlan {
    std::vector<Arrival> arrivals;
    std::vector<RegFileEntry> entries;  // the key file's, each link to a moved font relinked
    std::vector<CString> onShares;      // packed files whose link names another machine's share
};

// Reads the key's file of the folder, checked against its entry as it was read.
std::string ReadKeyFile(const Eudclink& with, const PackEntry& entry, const CString& from, bool replace,
                        std::vector<RegFileEntry>& entries)
{
    const std::string shown = Shown(from, with.rules);
    if (entry.size > kLargestRegFile)
        return shown + ": larger than any key's file";
    std::string bytes;
    if (!with.files.Read(from, static_cast<std::size_t>(entry.size), bytes) || bytes.size() != entry.size)
        return shown + ": not the " + std::to_string(entry.size) + " bytes that were packed";
    BytesFile read(bytes);
    if (with.hashing.Sha256(read) != entry.sha256)
        return shown + ": its content is not what was packed (another SHA-256)";
    RegFileReading reading = ReadRegFile(bytes, with.key.path, with.rules.toWide);
    if (!reading.ok)
        return shown + ": " + reading.error;
    // pack never writes a deletion: one in a folder that came from elsewhere would take away
    // a link of this machine's own.
    for (const RegFileEntry& read : reading.entries) {
        if (read.deleted && !replace)
            return shown + ": deletes the link " + Shown(read.value.name) + ", which only --replace allows";
    }
    entries = std::move(reading.entries);
    return {};
}

// The reason a packed file cannot go where its entry says, or empty; the place is the
// original path, or the folder `to` with the original's name.
std::string PlaceArrival(const Eudclink& with, const PackEntry& entry, const CString& from, const CString& to,
                         UnpackPlan& plan)
{
    const std::string shown = Shown(from, with.rules);
    if (!with.files.IsFile(from))
        return shown + ": no such file in the packed folder";
    // The size first: a file far larger than declared is never read.
    const std::unique_ptr<ReadableFile> file = with.files.Open(from);
    if (!file)
        return shown + ": cannot be read";
    if (file->Size() != entry.size)
        return shown + ": " + std::to_string(file->Size()) + " bytes, where " + std::to_string(entry.size) +
               " were packed";
    const std::u16string& original = entry.original;
    const bool onShare = ResolveFullPath(ToUtf8(original), NoLeadBytes).place == PathPlace::Share;
    if (onShare && to.empty()) {
        plan.onShares.push_back(with.rules.toAnsi(original));
        return {};
    }
    // Names the code page cannot hold would be written under a look-alike.
    const std::u16string wide = to.empty() ? original : original.substr(original.rfind(u'\\') + 1);
    const CString target = to.empty() ? with.rules.toAnsi(wide) : Joined(to, with.rules.toAnsi(wide));
    if (with.rules.toWide(with.rules.toAnsi(wide)) != wide)
        return Shown(wide) + ": a name that this code page cannot hold";
    if (const ResolvedPath resolved = ResolveFullPath(target, with.rules.isLeadByte);
        resolved.place != PathPlace::Local || resolved.path != target)
        return Shown(target, with.rules) + ": not a plain file on this machine's own drives";
    plan.arrivals.push_back({&entry, from, target});
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
    const std::unique_ptr<ReadableFile> there = with.files.Open(arrival.to);
    if (there && there->Size() == arrival.entry->size && with.hashing.Sha256(*there) == arrival.entry->sha256) {
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

// The file a link of the key's file names, nowhere for a deletion or a value of another type.
ResolvedPath FileOf(const Eudclink& with, const RegFileEntry& entry, const CString& fontsFolder)
{
    if (entry.deleted || entry.value.type != registry::kString)
        return {};
    return LinkedFile(ValueText(entry.value, with.rules.toAnsi), fontsFolder, with.rules.isLeadByte);
}

// The reason a packed font goes where no link of the key's file names it, or empty: a
// folder from elsewhere may put no file anywhere else.
std::string CheckNamed(const Eudclink& with, const std::vector<RegFileEntry>& entries,
                       const std::vector<Arrival>& arrivals)
{
    // Each value as the key will hold it: a later entry of a name wins, as import has it.
    std::map<std::u16string, const RegFileEntry*> last;
    for (const RegFileEntry& entry : entries)
        last[with.rules.nameKey(entry.value.name)] = &entry;
    std::set<std::u16string> named;
    const CString fontsFolder = with.files.FontsFolder();
    for (const auto& [name, entry] : last) {
        if (const ResolvedPath file = FileOf(with, *entry, fontsFolder); file.place != PathPlace::Nowhere)
            named.insert(with.rules.KeyOf(file.path));
    }
    for (const Arrival& arrival : arrivals) {
        if (arrival.entry->kind == PackEntry::Kind::Font && !named.contains(with.rules.nameKey(arrival.entry->original)))
            return Shown(arrival.entry->original) + ": a packed font that no link of links.reg names";
    }
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
        const ResolvedPath file = FileOf(with, entry, fontsFolder);
        const auto found = file.place == PathPlace::Nowhere ? moved.end() : moved.find(with.rules.KeyOf(file.path));
        if (found != moved.end() && !with.rules.IsSameName(found->second, file.path))
            entry.value = StringValue(entry.value.name, found->second, with.rules.toWide);
    }
    return entries;
}

// The whole plan, or the reason the folder is refused.
std::string Plan(const Eudclink& with, const CString& folder, const PackManifest& manifest, const CString& to,
                 const UnpackOptions& options, UnpackPlan& plan)
{
    std::optional<std::vector<RegFileEntry>> keyEntries;
    for (const PackEntry& entry : manifest.entries) {
        if (entry.kind == PackEntry::Kind::LinkOnly)
            continue;
        if (with.rules.toWide(with.rules.toAnsi(entry.stored)) != entry.stored)
            return Shown(entry.stored) + ": a name that this code page cannot hold";
        const CString from = Joined(folder, with.rules.toAnsi(entry.stored));
        std::string why = entry.kind == PackEntry::Kind::Links
                              ? ReadKeyFile(with, entry, from, options.replace, keyEntries.emplace())
                              : PlaceArrival(with, entry, from, to, plan);
        if (!why.empty())
            return why;
    }
    if (std::string why = CheckNamed(with, *keyEntries, plan.arrivals); !why.empty())
        return why;
    std::set<std::u16string> targets;
    for (Arrival& arrival : plan.arrivals) {
        if (!targets.insert(with.rules.KeyOf(arrival.to)).second)
            return "two packed files would go to " + Shown(arrival.to, with.rules);
        if (std::string why = CheckTarget(with, arrival, options.overwrite); !why.empty())
            return why;
    }
    plan.entries = Relinked(with, std::move(*keyEntries), plan.arrivals);
    return {};
}

// What unpack changed, so that a failure puts it back.
class Unpacking {
public:
    explicit Unpacking(const Eudclink& with) : m_with(with) {}

    bool Place(const Arrival& arrival)
    {
        if (arrival.there)
            return true;
        // Each folder is made, or found there, once; a drive's root is there, or nothing is.
        const CString& to = arrival.to;
        const CString folder = to.substr(0, to.size() - LinkFileName(to, m_with.rules.isLeadByte).size() - 1);
        if (folder.size() > 2 && !m_ready.contains(folder) && !m_with.files.MakeFolders(folder, m_folders))
            return false;
        m_ready.insert(folder);
        if (arrival.keepOld) {
            if (!m_with.files.Rename(to, to + ".old"))
                return false;
            m_kept.push_back(to);
        }
        if (!m_with.files.Copy(arrival.from, to))
            return false;
        m_copied.push_back(&arrival);
        return true;
    }

    // The reason a file copied is not what was packed, read where it was written; empty
    // when every one is.
    std::string Verify() const
    {
        std::vector<CString> targets;
        for (const Arrival* arrival : m_copied)
            targets.push_back(arrival->to);
        const std::vector<Measured> measured = MeasureAll(m_with, targets);
        for (std::size_t i = 0; i < m_copied.size(); ++i) {
            const Arrival& arrival = *m_copied[i];
            if (!measured[i].ok || measured[i].size != arrival.entry->size ||
                measured[i].sha256 != arrival.entry->sha256)
                return Shown(arrival.from, m_with.rules) + ": its content is not what was packed (another SHA-256)";
            if (arrival.entry->kind == PackEntry::Kind::Font &&
                CheckFontFile(m_with.files, arrival.to).state != LinkState::Linked)
                return Shown(arrival.from, m_with.rules) + ": not a TrueType font with a readable character map";
        }
        return {};
    }

    // Every file and folder as before, newest change first; what could not be put back.
    std::vector<std::string> PutBack()
    {
        std::vector<std::string> left;
        for (auto copied = m_copied.rbegin(); copied != m_copied.rend(); ++copied) {
            if (!m_with.files.Delete((*copied)->to))
                left.push_back(Shown((*copied)->to, m_with.rules) + " could not be removed");
        }
        for (auto file = m_kept.rbegin(); file != m_kept.rend(); ++file) {
            if (!m_with.files.Rename(*file + ".old", *file))
                left.push_back(Shown(*file, m_with.rules) + " is still named " + Shown(*file + ".old", m_with.rules));
        }
        for (auto folder = m_folders.rbegin(); folder != m_folders.rend(); ++folder) {
            if (!m_with.files.RemoveFolder(*folder))
                left.push_back(Shown(*folder, m_with.rules) + " could not be removed");
        }
        return left;
    }

private:
    const Eudclink& m_with;
    std::vector<const Arrival*> m_copied;
    std::vector<CString> m_kept;
    std::vector<CString> m_folders;
    std::set<CString> m_ready;
};

int Refuse(const Eudclink& with, const std::string& why)
{
    Complain(with, why + "; nothing was changed");
    return status::kRefused;
}

// Says why unpack stopped, and whether the machine is as it was.
void Undone(const Eudclink& with, Unpacking& unpacking, const std::string& why)
{
    const std::vector<std::string> left = unpacking.PutBack();
    std::string said = why + (why.empty() ? "" : "; ");
    if (left.empty()) {
        Complain(with, said + "the files copied were removed again and nothing was changed");
        return;
    }
    said += "not everything could be put back:";
    for (const std::string& line : left)
        said += "\n  " + line;
    Complain(with, said);
}

// The links just written that cannot work, as check shows them; kUnpackedBroken when
// there is one. A link to another machine's share is not reached for.
int CheckWritten(const Eudclink& with, const std::vector<RegFileEntry>& entries)
{
    std::vector<StoredValue> written;
    for (const RegFileEntry& entry : entries) {
        if (!entry.deleted)
            written.push_back(entry.value);
    }
    std::vector<LinkRow> rows = MakeRows({}, written, with.files.FontsFolder(), with.rules);
    std::string report;
    for (LinkRow& row : rows) {
        if (ResolveFullPath(row.file, with.rules.isLeadByte).place == PathPlace::Share)
            report += "not looked at, on another machine: " + Shown(row.file, with.rules) + "\n";
        else
            CheckLinkedFile(row, with.files);
    }
    std::erase_if(rows, [](const LinkRow& row) { return !IsProblem(row.state); });
    if (rows.empty()) {
        with.console.Out(report + "Every link it wrote works.\n");
        return status::kDone;
    }
    with.console.Out(report + "Links it wrote that cannot work:\n" + TableOf(rows, with.rules));
    return status::kUnpackedBroken;
}

}  // namespace

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
    if (reading.manifest.key != with.key.path)
        return Refuse(with, "the folder holds the links of " + Shown(reading.manifest.key) + ", not of " +
                                Shown(with.key.path) + " (see --codepage)");
    CString to;
    if (!options.to.empty() && !with.files.FullPath(options.to, to))
        return Refuse(with, Shown(options.to, with.rules) + ": not a path");

    UnpackPlan plan;
    if (const std::string why = Plan(with, folder, reading.manifest, to, options, plan); !why.empty())
        return Refuse(with, why);

    Unpacking unpacking(with);
    std::string report;
    for (const Arrival& arrival : plan.arrivals) {
        if (!unpacking.Place(arrival)) {
            Undone(with, unpacking, Shown(arrival.to, with.rules) + ": cannot be written");
            return status::kRefused;
        }
        if (arrival.keepOld)
            report += "kept the old " + Shown(arrival.to, with.rules) + " as " +
                      Shown(LinkFileName(arrival.to, with.rules.isLeadByte), with.rules) + ".old\n";
        report += (arrival.there ? "already there " : "copied ") + Shown(arrival.to, with.rules) + "\n";
    }
    if (const std::string why = unpacking.Verify(); !why.empty()) {
        Undone(with, unpacking, why);
        return status::kRefused;
    }
    for (const CString& share : plan.onShares)
        report += "left on another machine, its link kept: " + Shown(share, with.rules) + "\n";
    with.console.Out(report);
    const int imported = ImportEntries(with, plan.entries, options.replace);
    if (imported != status::kDone) {
        Undone(with, unpacking, "");
        return imported;
    }
    return CheckWritten(with, plan.entries);
}
