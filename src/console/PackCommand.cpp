// pack: the key's links and the files they name, carried to another machine as a folder
// that a person can read, zip and mail.
#include <algorithm>
#include <map>
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

namespace {

// The EUDC editor keeps its own data beside a font: the same name, extension .EUF.
CString EditorFileOf(const CString& path)
{
    return path.substr(0, path.size() - 4) + ".EUF";  // the font's path ends in .TTE or .TTF
}

// A file that a link names, with the values that name it.
struct LinkedFileOf {
    CString path;  // as the system resolves it
    std::vector<std::u16string> names;
    std::string unpacked;  // why the file goes as a link only; empty when it is packed
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
        const ResolvedPath file = LinkedFile(ValueText(value, with.rules.toAnsi), fontsFolder, with.rules.isLeadByte);
        // A path that the manifest cannot hold as it is (bytes that are no characters) stays
        // in the key's file alone, as a value that names no file does.
        if (file.place == PathPlace::Nowhere || !IsManifestPath(with.rules.toWide(file.path)))
            continue;
        const auto [at, added] = seen.emplace(with.rules.KeyOf(file.path), linked.size());
        if (added)
            linked.push_back({file.path, {}, {}});
        linked[at->second].names.push_back(value.name);
    }
    return linked;
}

// Why the file cannot travel in the folder, or empty: unpack takes only fonts that a link
// can name, under a path the manifest can hold.
std::string WhyLinkOnly(const Eudclink& with, const CString& path)
{
    if (!HasEudcExtension(path))
        return "not a .tte or .ttf file";
    switch (CheckFontFile(with.files, path).state) {
    case LinkState::Linked: return {};
    case LinkState::MissingFile: return "no such file";
    default: return "not a font";
    }
}

// What pack writes into the folder, so that a failure takes it all away again.
class PackWriter {
public:
    PackWriter(const Eudclink& with, CString folder) : m_with(with), m_folder(std::move(folder)) {}

    bool MakeFolder() { return m_with.files.MakeFolders(m_folder, m_folders); }

    // A name in the folder not taken yet: the file's own where it can be, else the file's
    // own with "~2", "~3"... before its extension. `name` is a plain file name.
    std::u16string FreeName(const std::u16string& name)
    {
        const std::size_t dot = std::min(name.rfind(u'.'), name.size());
        std::u16string free = name;
        // Each number gives another name, so this ends before the names taken run out.
        for (std::size_t n = 2; m_taken.contains(m_with.rules.nameKey(free)) && n <= m_taken.size() + 2; ++n) {
            const std::string digits = std::to_string(n);
            free = name.substr(0, dot) + u"~" + std::u16string(digits.begin(), digits.end()) + name.substr(dot);
        }
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

int Refuse(const Eudclink& with, const std::string& why)
{
    Complain(with, why + "; nothing was changed");
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
        file.unpacked = WhyLinkOnly(with, file.path);
        if (!file.unpacked.empty())
            linkOnly.push_back(Shown(file.path, with.rules) + " (" + NamesOf(file.names) + "): " + file.unpacked);
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
        if (!file.unpacked.empty()) {
            manifest.entries.push_back({PackEntry::Kind::LinkOnly, 0, {}, {}, with.rules.toWide(file.path)});
            continue;
        }
        PackEntry& font = manifest.entries.emplace_back();
        const std::u16string name = writer.FreeName(with.rules.toWide(LinkFileName(file.path, with.rules.isLeadByte)));
        if (!writer.CopyIn(PackEntry::Kind::Font, file.path, name, font))
            return failed(file.path);
        report += "packed " + Shown(file.path, with.rules) + "\n";
        ++packed;
        const CString editor = EditorFileOf(file.path);
        if (!with.files.IsFile(editor))
            continue;
        PackEntry& editorEntry = manifest.entries.emplace_back();
        if (!writer.CopyIn(PackEntry::Kind::Editor, editor, writer.FreeName(name.substr(0, name.size() - 4) + u".EUF"),
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
