// A machine's links carried to another by `eudclink pack` and `unpack`, on the fake
// Windows machine of FuzzMachine.h: values of any type, name and text; files there,
// missing, no fonts, read-only, folders where files should be; links to shares,
// devices, streams and names code page 950 cannot hold. Each command must end within a
// bounded number of port calls; pack writes only into its folder and changes no value;
// unpack never reaches for a share, a device or a stream, writes only into the pack
// folder, the --to folder and the folders the links name, and only files that its links
// name (or their .EUF, or NAME.old); only HKCU\EUDC\<code page> changes. A refusal (a
// failure said on standard error) leaves the machine exactly as it was. A folder that
// pack made is one unpack accepts on a clean machine, unless a link names no plain local
// path that the code page holds; once unpacked, each link whose file existed (a font
// named .TTE or .TTF) reads back with the same bytes at its path (or under --to), and
// every value of the first machine is in the key.
//
// The input, in order: a flags byte (1 --strict, 2 --to C:\T, 4 --replace, 8
// --overwrite, 16 code page 932 rather than 950, 32 the pack folder C:\P is there,
// empty); a faults byte for the second machine (low 4 bits: the number of the copy that
// fails, from 1; high 4 bits: the registry write that fails, from 1; 0: none); the
// number of values (up to 7), each a type byte (below 0xC0 a REG_SZ, else its low 4
// bits), a name (Input::ValueName) and, for a REG_SZ, a path (Input::Path) and a file
// byte, else two bytes of length and the data. The file byte: bits 0-1 what is at the
// link's path (0 nothing, 1 a font, 2 no font, 3 a folder), 4 it is read-only, 8 an .EUF
// file beside it, 16 the second machine holds other bytes at the link's target, 32 the
// same bytes, 64 the second machine has its own value of this name, 128 the file's
// bytes end in two bytes of length and bytes from the input. Then the number of the
// second machine's own values (up to 3), each a name and a path.
#include <cstddef>
#include <cstdint>

#include "FuzzMachine.h"

namespace {

using namespace fuzz;

const std::u16string kPackFolder = u"C:\\P";
const std::u16string kToFolder = u"C:\\T";

constexpr std::uint8_t kStrict = 1;
constexpr std::uint8_t kTo = 2;
constexpr std::uint8_t kReplace = 4;
constexpr std::uint8_t kOverwrite = 8;
constexpr std::uint8_t kCodePage932 = 16;
constexpr std::uint8_t kPackFolderThere = 32;

// A REG_SZ link of the first machine, and what became of its file.
struct Link {
    StoredValue value;
    std::u16string path;     // the file its text names; empty: none
    bool font = false;       // a font was there
    bool plain = false;  // a plain local path that the code page holds, short enough wherever it goes
    bool carried = false;  // a font of such a path, named .TTE or .TTF: its file must arrive
};

bool InPackFolder(const std::u16string& key)
{
    return key.starts_with(Key(kPackFolder) + u"\\");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    Log().clear();
    Input input(bytes, size);
    const std::uint8_t flags = input.Byte();
    const std::uint8_t faults = input.Byte();
    const unsigned codePage = flags & kCodePage932 ? 932 : 950;
    const bool to = flags & kTo;
    const long budget = 4000 + 100 * static_cast<long>(size);

    Machine first(codePage);
    Machine second(codePage);
    std::vector<StoredValue>& values = first.registry.values.values;
    std::vector<Link> links;
    std::set<std::u16string> fonts;  // keys of the first machine's font files
    if (flags & kPackFolderThere)
        first.files.PutFolder(kPackFolder);
    bool secondClean = (faults == 0);
    std::vector<std::pair<std::u16string, std::string>> secondFiles;  // put there once P is copied

    for (int count = input.Byte() % 8, index = 0; index < count; ++index) {
        const std::uint8_t type = input.Byte();
        const std::u16string name = input.ValueName();
        const bool duplicate = ValueNamed(values, name) != nullptr;
        if (type >= 0xC0) {
            const std::string data = input.Bytes(64);
            if (!duplicate)
                values.push_back({name, static_cast<std::uint32_t>(type & 0x0F), {data.begin(), data.end()}});
            continue;
        }
        const std::u16string given = input.Path();
        const std::uint8_t file = input.Byte();
        const std::string tail = std::to_string(index) + (file & 128 ? input.Bytes(16) : "");
        if (duplicate)
            continue;
        // The registry's string is read up to its first NUL, as a link's text is.
        const StoredValue value = TextValue(name, given);
        const std::u16string text = TextOf(value);
        Link link{value, LinkPath(text)};
        values.push_back(link.value);
        const Place place = link.path.empty() ? Place::Invalid : PlaceOf(link.path);
        const bool there = place == Place::Local || IsShare(link.path);
        const std::u16string target = to ? kToFolder + u"\\" + NameOf(link.path) : link.path;
        link.plain = place == Place::Local && kRules.toWide(kRules.toAnsi(text)) == text &&
                         kRules.toAnsi(link.path).size() <= files::kLongestPath &&
                         kRules.toAnsi(target).size() <= files::kLongestPath;
        if (there && !first.files.Find(link.path) && (file & 3) != 0) {
            if ((file & 3) == 3) {
                first.files.PutFolder(link.path);
            } else {
                link.font = (file & 3) == 1;
                first.files.Put(link.path, link.font ? FontBytes(tail) : NotAFont(tail), file & 4);
                if (link.font)
                    fonts.insert(Key(link.path));
            }
            if (file & 8 && !first.files.Find(EditorBeside(link.path)))
                first.files.Put(EditorBeside(link.path), "EUF " + tail);
        }
        link.font = fonts.contains(Key(link.path));
        const std::u16string extension = Key(link.path.substr(link.path.size() - std::min<std::size_t>(4, link.path.size())));
        link.carried = link.font && link.plain && (extension == u".TTE" || extension == u".TTF");
        if (!link.path.empty() && file & 16) {
            secondFiles.emplace_back(target, "the second machine's own " + tail);
            secondClean = false;
        } else if (!link.path.empty() && file & 32 && first.files.Find(link.path)) {
            secondFiles.emplace_back(target, first.files.Find(link.path)->bytes);
            secondClean = false;
        }
        if (file & 64)
            second.registry.values.values.push_back(TextValue(name, u"C:\\mine\\" + NameOf(link.path)));
        links.push_back(std::move(link));
    }
    for (int count = input.Byte() % 4; count > 0; --count) {
        const std::u16string name = input.ValueName();
        const std::u16string text = input.Path();
        if (!ValueNamed(second.registry.values.values, name))
            second.registry.values.values.push_back(TextValue(name, text));
    }

    // pack, on the first machine.
    const DiskState firstBefore = first.files.disk;
    const std::vector<StoredValue> firstValues = values;
    std::vector<std::u16string> packArguments = {u"pack"};
    if (flags & kStrict)
        packArguments.push_back(u"--strict");
    packArguments.push_back(kPackFolder);
    const int packed = first.Run(packArguments, budget);
    Expect(values == firstValues && first.registry.otherKeysWritten.empty(), "pack changes no value of any key");
    for (const DiskChange& change : first.files.changes)
        Expect(Key(change.path) == Key(kPackFolder) || InPackFolder(Key(change.path)), "pack writes only into its folder");
    for (const auto& [key, file] : firstBefore.files)
        Expect(InPackFolder(key) || (first.files.disk.files.contains(key) && first.files.disk.files.at(key) == file),
               "pack changes no file outside its folder");
    if (first.Refused(packed)) {
        Expect(first.files.disk == firstBefore, "a refused pack leaves the machine as it was");
        const bool packFolderUsed = std::ranges::any_of(firstBefore.files, [](const auto& file) { return InPackFolder(file.first); }) ||
                                    std::ranges::any_of(firstBefore.folders, InPackFolder);
        const bool reason = packFolderUsed || std::ranges::any_of(links, [&](const Link& link) {
            return !link.path.empty() && ((flags & kStrict && !link.font) || !link.plain || (link.font && !link.carried));
        });
        Expect(reason, "pack refuses only with --strict, a used folder, or a link it cannot carry");
        return 0;
    }
    Expect(packed == status::kDone, "pack either packs or refuses");

    // The folder, as it is, on the second machine, beside its own files and values.
    second.files.PutFolder(kPackFolder);
    for (const auto& [key, file] : first.files.disk.files) {
        if (InPackFolder(key))
            second.files.Put(file.path, file.bytes, file.readOnly);
    }
    for (const auto& [path, content] : secondFiles) {
        if (PlaceOf(path) == Place::Local && !second.files.Find(path))
            second.files.Put(path, content);
    }
    if (faults & 0x0F)
        second.files.failCopyAt = (faults & 0x0F) - 1;
    if (faults >> 4)
        second.registry.values.failWriteAt = (faults >> 4) - 1;
    second.files.guarded = true;
    const DiskState secondBefore = second.files.disk;
    const std::vector<StoredValue> secondValues = second.registry.values.values;

    std::vector<std::u16string> unpackArguments = {u"unpack"};
    if (to)
        unpackArguments.insert(unpackArguments.end(), {u"--to", kToFolder});
    if (flags & kReplace)
        unpackArguments.push_back(u"--replace");
    if (flags & kOverwrite)
        unpackArguments.push_back(u"--overwrite");
    unpackArguments.push_back(kPackFolder);
    const int unpacked = second.Run(unpackArguments, budget);
    const std::vector<StoredValue>& after = second.registry.values.values;

    ExpectNothingReached(second.files);
    Expect(second.registry.otherKeysWritten.empty(), "only HKCU\\EUDC\\<code page> changes");
    std::set<std::u16string> allowed = {Key(kPackFolder)};
    if (to)
        allowed.insert(Key(kToFolder));
    for (const Link& link : links) {
        if (!link.path.empty())
            allowed.insert(Key(FolderOf(link.path)));
    }
    for (const DiskChange& change : second.files.changes) {
        const bool folder = change.what == DiskChange::What::Folder || change.what == DiskChange::What::RemovedFolder;
        const bool inAllowed = allowed.contains(Key(FolderOf(change.path))) ||
                               (folder && std::ranges::any_of(allowed, [&](const std::u16string& place) {
                                    return place == Key(change.path) || place.starts_with(Key(change.path) + u"\\");
                                }));
        Expect(inAllowed, "nothing is written outside the folders the links name");
    }

    if (second.Refused(unpacked)) {
        LogDifferences(secondBefore, second.files.disk);
        Expect(second.files.disk == secondBefore && SameValues(after, secondValues),
               "a refusal leaves the machine exactly as it was");
        std::set<std::u16string> names;
        bool collide = false;
        for (const Link& link : links) {
            if (!link.font)
                continue;
            collide = collide || !names.insert(Key(NameOf(link.path))).second;
            if (first.files.Find(EditorBeside(link.path)))
                collide = collide || !names.insert(Key(NameOf(EditorBeside(link.path)))).second;
        }
        const bool reason = !secondClean || (to && collide) || std::ranges::any_of(links, [](const Link& link) {
            return !link.path.empty() && !link.plain;
        });
        Expect(reason, "every folder pack makes is one unpack accepts");
        return 0;
    }

    // Unpacked: every value of the first machine is in the key, as it was or linked to its
    // own file's bytes where that file went.
    for (const StoredValue& value : firstValues) {
        const StoredValue* now = ValueNamed(after, value.name);
        Expect(now != nullptr, "every packed value is in the key");
        if (now->type == value.type && now->data == value.data)
            continue;
        const StoredFile* was = first.files.Find(LinkPath(TextOf(value)));
        const std::u16string path = LinkPath(TextOf(*now));
        const StoredFile* is = path.empty() ? nullptr : second.files.Find(path);
        Expect(value.type == registry::kString && now->type == registry::kString && was && is && was->bytes == is->bytes,
               "a link rewritten names a file with its own file's bytes");
    }
    for (const Link& link : links) {
        if (!link.carried)
            continue;
        const std::u16string path = LinkPath(TextOf(*ValueNamed(after, link.value.name)));
        const std::u16string expected = to ? kToFolder + u"\\" + NameOf(link.path) : link.path;
        const StoredFile* is = path.empty() ? nullptr : second.files.Find(path);
        Expect(Key(path) == Key(expected) && is && is->bytes == first.files.Find(link.path)->bytes,
               "each link whose file existed reads back, with the same bytes at its path (or under --to)");
        if (const StoredFile* editor = first.files.Find(EditorBeside(link.path))) {
            const StoredFile* arrived = second.files.Find(EditorBeside(path));
            Expect(arrived && arrived->bytes == editor->bytes, "the .EUF file arrives beside its font");
        }
    }
    for (const StoredValue& value : after) {
        const bool packedValue = ValueNamed(firstValues, value.name) != nullptr;
        if (flags & kReplace)
            Expect(packedValue, "--replace makes the key the packed one");
        else if (!packedValue)
            Expect(ValueNamed(secondValues, value.name) && *ValueNamed(secondValues, value.name) == value,
                   "unpack without --replace keeps the machine's other values");
    }
    for (const auto& [key, file] : secondBefore.files) {
        const StoredFile* now = second.files.Find(file.path);
        const StoredFile* old = second.files.Find(file.path + u".old");
        Expect((now && now->bytes == file.bytes) || (flags & kOverwrite && old && old->bytes == file.bytes),
               "the machine's files are kept, or kept as NAME.old");
    }
    const std::set<std::u16string> named = NamedFiles(after);
    for (const auto& [key, file] : second.files.disk.files) {
        const auto before = secondBefore.files.find(key);
        if (!InPackFolder(key) && (before == secondBefore.files.end() || !(before->second == file)))
            Expect(named.contains(key), "each file unpack writes is one a link names (or its .EUF, or NAME.old)");
    }
    return 0;
}
