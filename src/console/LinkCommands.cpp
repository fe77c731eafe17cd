// list, check, link and unlink: the window's rows and its Modify and Remove, from a script.
#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "console/Commands.h"
#include "console/ConsoleText.h"
#include "model/EudcPath.h"
#include "model/FontList.h"
#include "model/LinkKey.h"
#include "model/LinkRows.h"
#include "model/RegFile.h"
#include "platform/Unicode.h"

namespace {

// The value that the name finds, as the registry finds it: one lookup, however many
// values the key holds. False, said, when the key cannot be read.
bool ReadNamedValue(const Eudclink& with, const CString& name, std::optional<StoredValue>& value)
{
    long result = registry::kSuccess;
    const std::unique_ptr<RegistryKey> key = with.registry.OpenKey(with.key.subkey.c_str(), registry::kRead, result);
    StoredValue read;
    if (key)
        result = ReadValue(*key, with.rules.toWide(name), read);
    if (result == registry::kSuccess)
        value = read;
    if (result == registry::kSuccess || result == registry::kNotFound)
        return true;
    ComplainUnreadable(with, result);
    return false;
}

std::string LinkText(const Eudclink& with, const std::optional<StoredValue>& value)
{
    if (!value)
        return "(none)";
    if (value->type != registry::kString)
        return "(a value of type " + std::to_string(value->type) + ")";
    return Shown(ValueText(*value, with.rules.toAnsi), with.rules);
}

// Why the file cannot be linked, or empty when it can.
std::string RefusalOf(const Eudclink& with, const CString& path, FontFileCheck& check)
{
    const std::string shown = Shown(path, with.rules);
    if (!HasEudcExtension(path))
        return shown + ": only .tte and .ttf files can be linked";
    if (path.size() > files::kLongestPath)
        return shown + ": the full path is " + std::to_string(path.size()) + " bytes; a link holds at most " +
               std::to_string(files::kLongestPath);
    check = CheckFontFile(with.files, path);
    if (check.state == LinkState::MissingFile)
        return shown + ": no such file";
    if (check.state != LinkState::Linked)
        return shown + ": not a TrueType font with a readable character map";
    return {};
}

}  // namespace

void Complain(const Eudclink& with, const std::string& text)
{
    with.console.Err("eudclink: " + text + "\n");
}

void ComplainUnreadable(const Eudclink& with, long result)
{
    Complain(with, "cannot read " + ToUtf8(with.key.path) + " (error " + std::to_string(result) + ")");
}

bool Change(const Eudclink& with, const KeyChange& change, IfKeyMissing ifMissing)
{
    return ChangeWithEudcOff(
        with.registry, with.libraries, change, ifMissing, [&](const char* failure) { Complain(with, failure); },
        with.key.subkey.c_str());
}

bool ReadKey(const Eudclink& with, std::vector<StoredValue>& values)
{
    const long result = ReadLinkKey(with.registry, values, with.key.subkey.c_str());
    if (result == registry::kSuccess)
        return true;
    ComplainUnreadable(with, result);
    return false;
}

int ListLinks(const Eudclink& with, RowFormat format, bool problemsOnly)
{
    std::vector<StoredValue> values;
    if (!ReadKey(with, values))
        return status::kRegistry;
    std::vector<LinkRow> rows;
    if (problemsOnly) {
        rows = BrokenLinkRows(with.fonts, with.charSets, values, with.files, with.rules);
    } else {
        CStringArray fontList;
        BuildFontList(with.fonts, fontList, with.charSets);
        rows = MakeRows(fontList, values, with.files.FontsFolder(), with.rules);
        for (LinkRow& row : rows)
            CheckLinkedFile(row, with.files);
    }

    if (format == RowFormat::Tsv)
        with.console.Out(TsvOf(rows, with.rules));
    else if (format == RowFormat::Json)
        with.console.Out(JsonOf(rows, with.rules));
    else if (problemsOnly && rows.empty())
        with.console.Out("Every link works.\n");
    else
        with.console.Out(TableOf(rows, with.rules));
    return problemsOnly && !rows.empty() ? status::kRefused : status::kDone;
}

int LinkFont(const Eudclink& with, const CString& font, bool anyFont, const CString& file)
{
    CString name = kSystemDefaultEUDCFont;
    if (!font.empty()) {
        name = FindListedFont(with.fonts, font, with.rules, with.charSets);
        if (name.empty() && !anyFont) {
            Complain(with, "\"" + Shown(font, with.rules) +
                               "\" is not a font that can have a link (an installed TrueType font with the " +
                               CharSetsText(with.charSets) + " character set); --any-font links it all the same");
            return status::kRefused;
        }
        if (name.empty())
            name = font;
    }

    CString full;
    if (!with.files.FullPath(file, full)) {
        Complain(with, Shown(file, with.rules) + ": not a path");
        return status::kRefused;
    }
    const ResolvedPath resolved = ResolveFullPath(full, with.rules.isLeadByte);
    if (resolved.place == PathPlace::Nowhere) {
        Complain(with, Shown(full, with.rules) + ": not a plain file's path (a device, a stream or a folder)");
        return status::kRefused;
    }
    const CString& path = resolved.path;
    FontFileCheck check;
    if (const std::string refusal = RefusalOf(with, path, check); !refusal.empty()) {
        Complain(with, refusal);
        return status::kRefused;
    }

    std::optional<StoredValue> value;
    if (!ReadNamedValue(with, name, value))
        return status::kRegistry;
    const std::string old = LinkText(with, value);
    const StoredValue link = StringValue(with.rules.toWide(name), path, with.rules.toWide);  // as Modify writes it
    const bool made =
        Change(with, [&](RegistryKey& key) { return key.SetValue(link) == registry::kSuccess; }, IfKeyMissing::Create);
    if (!made)
        return status::kRegistry;
    with.console.Out(Shown(name, with.rules) + "\n  old link: " + old + "\n  new link: " +
                     Shown(path, with.rules) + " (" + std::to_string(check.chars.value_or(0)) +
                     " EUDC characters)\n");
    return status::kDone;
}

int UnlinkFont(const Eudclink& with, const CString& name)
{
    std::optional<StoredValue> value;
    if (!ReadNamedValue(with, name, value))
        return status::kRegistry;
    if (!value) {
        with.console.Out(Shown(name, with.rules) + " has no link; nothing was changed\n");
        return status::kDone;
    }
    const std::string old = LinkText(with, value);
    // The registry finds the value as the lookup did.
    const std::u16string wide = with.rules.toWide(name);
    const bool made = Change(
        with, [&](RegistryKey& key) { return IsDeleted(key.DeleteValue(wide)); }, IfKeyMissing::NothingToChange);
    if (!made)
        return status::kRegistry;
    with.console.Out(Shown(name, with.rules) + "\n  old link: " + old + "\n  new link: (none)\n");
    return status::kDone;
}
