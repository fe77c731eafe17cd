#include "model/PackManifest.h"

#include <algorithm>
#include <charconv>
#include <set>

#include "model/EudcPath.h"
#include "platform/Unicode.h"

namespace {

constexpr char kFirstLine[] = "eudclink pack 1";
constexpr std::string_view kKinds[] = {"links", "font", "editor", "link-only"};

std::vector<std::string_view> Fields(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string_view::npos)
            return fields;
        start = tab + 1;
    }
}

bool IsSha256(std::string_view text)
{
    return text.size() == 64 &&
           std::ranges::all_of(text, [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

bool ReadNumber(std::string_view text, std::uint64_t& number)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return !text.empty() && error == std::errc() && end == text.data() + text.size() && text[0] != '+';
}

// The name as the folder's file system tells names apart: ASCII letters in either case.
std::u16string Folded(std::u16string_view name)
{
    std::u16string folded(name);
    for (char16_t& c : folded) {
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - 0x20);
    }
    return folded;
}

struct Reader {
    ManifestReading reading;

    bool Fail(std::size_t line, std::string error)
    {
        reading.errorLine = line;
        reading.error = std::move(error);
        return false;
    }

    bool Entry(std::size_t number, const std::vector<std::string_view>& fields)
    {
        const auto kind = std::ranges::find(kKinds, fields[0]);
        if (kind == std::end(kKinds))
            return Fail(number, "no such kind of entry");
        PackEntry entry;
        entry.kind = static_cast<PackEntry::Kind>(kind - std::begin(kKinds));
        const bool linkOnly = entry.kind == PackEntry::Kind::LinkOnly;
        const bool links = entry.kind == PackEntry::Kind::Links;
        if (fields.size() != (linkOnly ? 2u : links ? 4u : 5u))
            return Fail(number, "wrong number of fields");
        if (linkOnly) {
            std::optional<std::u16string> original = FromUtf8(fields[1]);
            if (!original || !IsManifestPath(*original))
                return Fail(number, "not a full path");
            entry.original = std::move(*original);
        } else {
            if (!ReadNumber(fields[1], entry.size))
                return Fail(number, "not a size");
            if (!IsSha256(fields[2]))
                return Fail(number, "not a SHA-256");
            entry.sha256 = fields[2];
            std::optional<std::u16string> stored = FromUtf8(fields[3]);
            if (!stored || !IsPlainName(fields[3], NoLeadBytes))
                return Fail(number, "not a file name of the folder");
            entry.stored = std::move(*stored);
            if (!links) {
                std::optional<std::u16string> original = FromUtf8(fields[4]);
                if (!original || !IsManifestPath(*original))
                    return Fail(number, "not a full path");
                entry.original = std::move(*original);
            }
        }
        reading.manifest.entries.push_back(std::move(entry));
        return true;
    }

    bool Whole()
    {
        std::set<std::u16string> names{u"MANIFEST.TXT"};  // the manifest itself
        std::size_t keyFiles = 0;
        for (const PackEntry& entry : reading.manifest.entries) {
            keyFiles += entry.kind == PackEntry::Kind::Links;
            if (entry.kind != PackEntry::Kind::LinkOnly && !names.insert(Folded(entry.stored)).second)
                return Fail(0, "two files of one name");
        }
        if (keyFiles != 1)
            return Fail(0, "not one key file");
        // Unpack writes each file where the manifest says it was: only fonts a link can
        // name, and the editor's file beside one of them, never any file anywhere.
        std::set<std::u16string> fonts;
        for (const PackEntry& entry : reading.manifest.entries) {
            if (entry.kind == PackEntry::Kind::Font && !EndsWithEither(entry.original, u".TTE", u".TTF"))
                return Fail(0, "a font whose path does not end in .TTE or .TTF");
            if (entry.kind == PackEntry::Kind::Font)
                fonts.insert(WithoutExtension(entry.original));
        }
        for (const PackEntry& entry : reading.manifest.entries) {
            if (entry.kind == PackEntry::Kind::Editor &&
                (!EndsWithEither(entry.original, u".EUF", u".EUF") || !fonts.contains(WithoutExtension(entry.original))))
                return Fail(0, "an editor's file that is not beside a packed font of its name");
        }
        return true;
    }

    static bool EndsWithEither(std::u16string_view path, std::u16string_view a, std::u16string_view b)
    {
        const std::u16string end = Folded(path.substr(path.size() - std::min<std::size_t>(path.size(), 4)));
        return end == a || end == b;
    }

    // The folded path without its last four characters (".TTE", ".EUF").
    static std::u16string WithoutExtension(std::u16string_view path)
    {
        return Folded(path.substr(0, path.size() - std::min<std::size_t>(path.size(), 4)));
    }
};

ManifestReading Refused(Reader& reader, std::size_t line, std::string error)
{
    reader.Fail(line, std::move(error));
    return reader.reading;
}

}  // namespace

bool IsManifestPath(std::u16string_view path)
{
    const std::string text = ToUtf8(path);
    const ResolvedPath resolved = ResolveFullPath(text, NoLeadBytes);
    return resolved.place != PathPlace::Nowhere && resolved.path == text;
}

std::string WriteManifest(const PackManifest& manifest)
{
    std::string text = std::string(kFirstLine) + "\n";
    text += "# The links of a registry key and their files, packed by eudclink: each line is a\n"
            "# kind, then its size in bytes, SHA-256 and name in this folder, and its original path.\n";
    text += "key\t" + ToUtf8(manifest.key) + "\n";
    for (const PackEntry& entry : manifest.entries) {
        text += kKinds[static_cast<int>(entry.kind)];
        if (entry.kind != PackEntry::Kind::LinkOnly)
            text += "\t" + std::to_string(entry.size) + "\t" + entry.sha256 + "\t" + ToUtf8(entry.stored);
        if (entry.kind != PackEntry::Kind::Links)
            text += "\t" + ToUtf8(entry.original);
        text += "\n";
    }
    return text + "end\t" + std::to_string(manifest.entries.size()) + "\n";
}

ManifestReading ReadManifest(std::string_view text)
{
    Reader reader;
    std::size_t number = 0;
    bool ended = false;
    bool hasKey = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos)
            return Refused(reader, number + 1, "cut short");
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        ++number;
        if (line.ends_with('\r'))
            line.remove_suffix(1);  // a copy that a mail program or an editor gave CRLF ends
        if (ended)
            return Refused(reader, number, "a line after the end");
        if (number == 1) {
            if (line != kFirstLine)
                return Refused(reader, number, "not a manifest of eudclink pack");
            continue;
        }
        if (line.starts_with('#'))
            continue;
        const std::vector<std::string_view> fields = Fields(line);
        if (fields[0] == "key") {
            std::optional<std::u16string> key = FromUtf8(fields.size() == 2 ? fields[1] : "");
            if (hasKey || !key || key->empty())
                return Refused(reader, number, "not one key");
            reader.reading.manifest.key = std::move(*key);
            hasKey = true;
        } else if (fields[0] == "end") {
            std::uint64_t count = 0;
            if (fields.size() != 2 || !ReadNumber(fields[1], count) || count != reader.reading.manifest.entries.size())
                return Refused(reader, number, "the end line does not count the entries");
            ended = true;
        } else if (!hasKey) {
            return Refused(reader, number, "an entry before the key");
        } else if (!reader.Entry(number, fields)) {
            return reader.reading;
        }
    }
    if (!ended)
        return Refused(reader, 0, "cut short: no end line");
    reader.reading.ok = reader.Whole();
    if (!reader.reading.ok)
        reader.reading.manifest = {};
    return reader.reading;
}
