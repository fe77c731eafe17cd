// `eudclink unpack` of a folder that came by mail, on the fake Windows machine of
// FuzzMachine.h: any manifest, any links.reg, any files, some read-only, one rewritten
// by another program once it has been read. Unpack must end within a bounded number of
// port calls, never reach for a share, a device or a stream, change no other key than
// HKCU\EUDC\<code page>, write nothing into the packed folder, and read no packed file
// past the size its manifest declares. A refusal (a failure said on standard error)
// leaves the machine exactly as it was. Otherwise it wrote only fonts, .EUF files and
// NAME.old, only into --to or the folders its links name, only files that its links name
// (or their .EUF, or NAME.old), only bytes whose size and SHA-256 the manifest gives,
// and only values of the links.reg it checked; it kept each file of the machine (or as
// NAME.old), and without --replace it deleted no value of the machine.
//
// The input, in order: a flags byte (1 --to C:\T, 2 --replace, 4 --overwrite, 8 code
// page 932 rather than 950, 16 the manifest is any bytes, 32 links.reg is any bytes); a
// faults byte (low 4 bits: the number of the copy that fails, from 1; high 4 bits: the
// registry write that fails, from 1; 0: none). links.reg: with flag 32, two bytes of
// length and its bytes; else the number of its lines (up to 5), each a kind byte (0 a
// link, 1 a deletion, 2 a dword), a name (Input::ValueName) and, for a link, a path
// (Input::Path); then its file byte (below). The other files of the folder: their number
// (up to 5), each a name byte (an index into kStoredNames, or 0xFF and any UTF-16) and a
// file byte: bits 0-1 its bytes (0 a font, 1 no font, 2 any bytes, 3 a font followed by
// any bytes; any bytes are two bytes of length and the bytes), 4 read-only, 8 another
// program rewrites it once it has been read (links.reg: as a file that sets "Evil"). The manifest: with flag 16, two bytes of
// length and its bytes; else it names links.reg first, then holds a number (up to 7) of
// entries, each a kind byte (bits 0-1: 0 a font, 1 an editor's file, 2 a link only, 3 a
// second key file; 4 a size half the file's, 8 another SHA-256), the index of the
// folder's file it names and its original path. Last, the machine's own values (up to 3,
// each a name and a path) and files (up to 3, each a path and a byte, 4 read-only).
#include <cstddef>
#include <cstdint>

#include "FuzzMachine.h"

namespace {

using namespace fuzz;

const std::u16string kPackFolder = u"C:\\P";
const std::u16string kToFolder = u"C:\\T";

constexpr std::uint8_t kTo = 1;
constexpr std::uint8_t kReplace = 2;
constexpr std::uint8_t kOverwrite = 4;
constexpr std::uint8_t kCodePage932 = 8;
constexpr std::uint8_t kAnyManifest = 16;
constexpr std::uint8_t kAnyKeyFile = 32;

constexpr std::uint8_t kReadOnly = 4;
constexpr std::uint8_t kRewritten = 8;

const char16_t* const kStoredNames[] = {u"A.TTE", u"B.TTF", u"A.EUF", u"C.TXT", u"\u529F.TTE", u"LINKS.REG",
                                        u"manifest.txt", u"links.reg"};

// A packed file, as the folder holds it.
struct Packed {
    std::u16string name;
    std::string bytes;
};

std::u16string Quoted(const std::u16string& text)
{
    std::u16string quoted = u"\"";
    for (const char16_t c : text) {
        if (c == u'\\' || c == u'"')
            quoted += u'\\';
        quoted += c;
    }
    return quoted + u"\"";
}

// A registry editor file (version 5: UTF-16LE with its byte-order mark) of the lines.
std::string RegFile(unsigned codePage, const std::vector<std::u16string>& lines)
{
    std::u16string text = u"\uFEFFWindows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\EUDC\\" +
                          Wide(std::to_string(codePage)) + u"]\r\n";
    for (const std::u16string& line : lines)
        text += line + u"\r\n";
    text += u"\r\n";
    std::string bytes;
    for (const char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

std::string Content(Input& input, std::uint8_t file, std::size_t index)
{
    switch (file & 3) {
    case 0: return FontBytes(std::to_string(index));
    case 1: return NotAFont(std::to_string(index));
    case 2: return input.Bytes(256);
    default: return FontBytes(input.Bytes(256));
    }
}

bool InPackFolder(const std::u16string& key)
{
    return key.starts_with(Key(kPackFolder) + u"\\");
}

// The machine's state but the packed folder's files, which another program may change.
DiskState OutsidePackFolder(DiskState disk)
{
    std::erase_if(disk.files, [](const auto& file) { return InPackFolder(file.first); });
    return disk;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    Log().clear();
    Input input(bytes, size);
    const std::uint8_t flags = input.Byte();
    const std::uint8_t faults = input.Byte();
    const unsigned codePage = flags & kCodePage932 ? 932 : 950;
    const std::string key = "HKEY_CURRENT_USER\\EUDC\\" + std::to_string(codePage);
    Machine machine(codePage);
    FuzzFiles& files = machine.files;
    files.PutFolder(kPackFolder);

    std::vector<Packed> packed;
    std::vector<std::uint8_t> fileBytes;
    std::set<std::u16string> vouched;  // the names of the values links.reg sets, when they are known
    if (flags & kAnyKeyFile) {
        packed.push_back({u"links.reg", input.Bytes(4096)});
    } else {
        std::vector<std::u16string> lines;
        for (int count = input.Byte() % 6; count > 0; --count) {
            const std::uint8_t kind = input.Byte() % 3;
            const std::u16string valueName = input.ValueName();
            if (kind != 1)
                vouched.insert(Key(valueName));
            const std::u16string name = Quoted(valueName);
            if (kind == 0)
                lines.push_back(name + u"=" + Quoted(input.Path()));
            else
                lines.push_back(name + (kind == 1 ? u"=-" : u"=dword:00000001"));
        }
        packed.push_back({u"links.reg", RegFile(codePage, lines)});
    }
    fileBytes.push_back(input.Byte());
    // Files of names that a folder can hold once each, beside the manifest.
    std::set<std::u16string> taken = {Key(Normal(kPackFolder + u"\\manifest.txt")), Key(Normal(kPackFolder + u"\\links.reg"))};
    for (int count = input.Byte() % 6; count > 0; --count) {
        const std::uint8_t choice = input.Byte();
        std::u16string name = choice == 0xFF ? input.Units(64) : kStoredNames[choice % std::size(kStoredNames)];
        const std::uint8_t file = input.Byte();
        std::string content = Content(input, file, packed.size());
        const std::u16string path = Normal(kPackFolder + u"\\" + name);
        if (PlaceOf(path) != Place::Local || !IsInside(path, kPackFolder) || !taken.insert(Key(path)).second)
            continue;
        packed.push_back({std::move(name), std::move(content)});
        fileBytes.push_back(file);
    }

    // The declared size of each stored name (as the folder tells names apart), the smallest
    // where it is declared twice.
    std::map<std::u16string, std::uint64_t> declared;
    std::string manifest;
    if (flags & kAnyManifest) {
        manifest = input.Bytes(4096);
    } else {
        const auto line = [&](const char* kind, const Packed& file, std::uint8_t how, const std::u16string* original) {
            const std::uint64_t length = how & 4 ? file.bytes.size() / 2 : file.bytes.size();
            const std::string digest = how & 8 ? std::string(64, 'f') : Digest(file.bytes);
            auto [at, added] = declared.emplace(Key(Normal(kPackFolder + u"\\" + file.name)), length);
            at->second = std::min(at->second, length);
            return std::string(kind) + "\t" + std::to_string(length) + "\t" + digest + "\t" + ToUtf8(file.name) +
                   (original ? "\t" + ToUtf8(*original) : "") + "\n";
        };
        std::vector<std::string> entries = {line("links", packed[0], 0, nullptr)};
        for (int count = input.Byte() % 8; count > 0; --count) {
            const std::uint8_t kind = input.Byte();
            const Packed& file = packed[input.Byte() % packed.size()];
            const std::u16string original = input.Path();
            switch (kind & 3) {
            case 0: entries.push_back(line("font", file, kind, &original)); break;
            case 1: entries.push_back(line("editor", file, kind, &original)); break;
            case 2: entries.push_back("link-only\t" + ToUtf8(original) + "\n"); break;
            default: entries.push_back(line("links", file, kind, nullptr)); break;
            }
        }
        manifest = "eudclink pack 1\nkey\t" + key + "\n";
        for (const std::string& entry : entries)
            manifest += entry;
        manifest += "end\t" + std::to_string(entries.size()) + "\n";
    }
    files.Put(kPackFolder + u"\\manifest.txt", manifest);
    for (std::size_t i = 0; i < packed.size(); ++i) {
        const std::u16string path = kPackFolder + u"\\" + packed[i].name;
        files.Put(path, packed[i].bytes, fileBytes[i] & kReadOnly);
        if (fileBytes[i] & kRewritten)
            files.rewrittenAfterRead[Key(Normal(path))] = i == 0 ? RegFile(codePage, {u"\"Evil\"=dword:00000001"})
                                                                 : FontBytes("rewritten");
    }

    std::vector<StoredValue>& values = machine.registry.values.values;
    for (int count = input.Byte() % 4; count > 0; --count) {
        const std::u16string name = input.ValueName();
        const std::u16string text = input.Path();
        if (!ValueNamed(values, name))
            values.push_back(TextValue(name, text));
    }
    for (int count = input.Byte() % 4, index = 0; index < count; ++index) {
        const std::u16string path = Normal(input.Path());
        const std::uint8_t file = input.Byte();
        if (PlaceOf(path) == Place::Local && !InPackFolder(Key(path)) && !files.Find(path))
            files.Put(path, "the machine's own " + std::to_string(index), file & kReadOnly);
    }
    if (faults & 0x0F)
        files.failCopyAt = (faults & 0x0F) - 1;
    if (faults >> 4)
        machine.registry.values.failWriteAt = (faults >> 4) - 1;
    files.guarded = true;
    const DiskState before = files.disk;
    const std::vector<StoredValue> valuesBefore = values;

    std::vector<std::u16string> arguments = {u"unpack"};
    if (flags & kTo)
        arguments.insert(arguments.end(), {u"--to", kToFolder});
    if (flags & kReplace)
        arguments.push_back(u"--replace");
    if (flags & kOverwrite)
        arguments.push_back(u"--overwrite");
    arguments.push_back(kPackFolder);
    const int status = machine.Run(arguments, 4000 + 100 * static_cast<long>(size));

    ExpectNothingReached(files);
    Expect(machine.registry.otherKeysWritten.empty(), "only HKCU\\EUDC\\<code page> changes");
    for (const DiskChange& change : files.changes)
        Expect(!InPackFolder(Key(change.path)), "unpack writes nothing into the packed folder");
    for (const auto& [name, length] : declared) {
        const auto read = files.readUpTo.find(name);
        Expect(read == files.readUpTo.end() || read->second <= length,
               "no packed file is read past the size its manifest declares");
    }
    if (machine.Refused(status)) {
        LogDifferences(OutsidePackFolder(before), OutsidePackFolder(files.disk));
        Expect(OutsidePackFolder(files.disk) == OutsidePackFolder(before) && SameValues(values, valuesBefore),
               "a refusal leaves the machine exactly as it was");
        return 0;
    }

    if (!(flags & kAnyKeyFile)) {
        for (const StoredValue& value : values) {
            const StoredValue* was = ValueNamed(valuesBefore, value.name);
            Expect((was && *was == value) || vouched.contains(Key(value.name)),
                   "unpack writes only the values of the links.reg it checked");
        }
    }
    if (!(flags & kReplace)) {
        for (const StoredValue& value : valuesBefore)
            Expect(ValueNamed(values, value.name) != nullptr, "without --replace no value of the machine is deleted");
    }
    for (const auto& [path, file] : before.files) {
        const StoredFile* now = files.Find(file.path);
        const StoredFile* old = files.Find(file.path + u".old");
        Expect(InPackFolder(path) || (now && now->bytes == file.bytes) || (flags & kOverwrite && old && old->bytes == file.bytes),
               "the machine's files are kept, or kept as NAME.old");
    }
    std::set<std::u16string> folders;
    if (flags & kTo)
        folders.insert(Key(kToFolder));
    for (const StoredValue& value : values) {
        const std::u16string path = value.type == registry::kString ? LinkPath(TextOf(value)) : u"";
        if (!path.empty())
            folders.insert(Key(FolderOf(path)));
    }
    const std::set<std::u16string> named = NamedFiles(values);
    for (const auto& [path, file] : files.disk.files) {
        const auto was = before.files.find(path);
        if (InPackFolder(path) || (was != before.files.end() && was->second == file))
            continue;
        const std::u16string folded = Key(path);
        const bool kind = folded.ends_with(u".TTE") || folded.ends_with(u".TTF") || folded.ends_with(u".EUF") ||
                          folded.ends_with(u".OLD");
        Expect(kind, "unpack writes only fonts, .EUF files and NAME.old");
        Expect(folders.contains(Key(FolderOf(file.path))), "unpack writes only into --to or the folders its links name");
        Expect(named.contains(folded), "each file unpack writes is one a link names (or its .EUF, or NAME.old)");
        // NAME.old holds the machine's own file of NAME.
        const auto renamed = before.files.find(folded.substr(0, folded.size() - std::min<std::size_t>(4, folded.size())));
        const bool oldFile = folded.ends_with(u".OLD") && renamed != before.files.end() && renamed->second.bytes == file.bytes;
        Expect(oldFile || manifest.find("\t" + std::to_string(file.bytes.size()) + "\t" + Digest(file.bytes) + "\t") !=
                              std::string::npos,
               "each file unpack installs holds bytes the manifest vouches for");
    }
    for (const DiskChange& change : files.changes) {
        if (change.what == DiskChange::What::Folder)
            Expect(std::ranges::any_of(folders, [&](const std::u16string& folder) {
                       return folder == Key(change.path) || folder.starts_with(Key(change.path) + u"\\");
                   }),
                   "unpack makes only the folders its files go to");
    }
    return 0;
}
