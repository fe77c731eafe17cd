// list, check, link and unlink: the window's rows and its Modify and Remove, from a script.
#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/EudcPath.h"
#include "model/FontList.h"
#include "model/LinkKey.h"
#include "model/LinkReport.h"
#include "model/RegFile.h"
#include "platform/Unicode.h"
#include "ui/console/Commands.h"
#include "ui/console/ConsoleText.h"

namespace {

// The longest full path a link may hold: what the window's open-file dialog can give.
constexpr std::size_t kLongestPath = 259;

// The values of the key, none when it is missing; false, said, when it cannot be read.
bool ReadKey(const Eudclink& with, std::vector<LinkValue>& values)
{
    long opened = registry::kSuccess;
    const std::unique_ptr<RegistryKey> key = with.registry.OpenKey(kLinkKey, registry::kRead, opened);
    long result = opened == registry::kNotFound ? registry::kNoMoreItems : opened;
    if (key)
        result = ReadLinkValues(*key, values);
    if (result == registry::kNoMoreItems)
        return true;
    ComplainUnreadable(with, result);
    return false;
}

// The value that the name finds, as the registry finds it: one lookup, however many
// values the key holds. False, said, when the key cannot be read.
bool ReadValue(const Eudclink& with, const CString& name, std::optional<LinkValue>& value)
{
    long result = registry::kSuccess;
    const std::unique_ptr<RegistryKey> key = with.registry.OpenKey(kLinkKey, registry::kRead, result);
    LinkValue read{name};
    if (key)
        result = key->QueryValue(name, read.type, read.data);
    if (result == registry::kSuccess)
        value = read;
    if (result == registry::kSuccess || result == registry::kNotFound)
        return true;
    ComplainUnreadable(with, result);
    return false;
}

std::string LinkText(const Eudclink& with, const std::optional<LinkValue>& value)
{
    if (!value)
        return "(none)";
    if (value->type != registry::kString)
        return "(a value of type " + std::to_string(value->type) + ")";
    return Shown(value->Text(), with.rules);
}

// Makes the change as the window makes it; a failure is said on standard error.
bool Change(const Eudclink& with, const KeyChange& change, IfKeyMissing ifMissing)
{
    return ChangeWithEudcOff(with.registry, with.libraries, change, ifMissing,
                             [&](const char* failure) { Complain(with, failure); });
}

// Why the file cannot be linked, or empty when it can.
std::string RefusalOf(const Eudclink& with, const CString& path, FontFileCheck& check)
{
    const std::string shown = Shown(path, with.rules);
    if (!HasEudcExtension(path))
        return shown + ": only .tte and .ttf files can be linked";
    if (path.size() > kLongestPath)
        return shown + ": the full path is " + std::to_string(path.size()) + " bytes; a link holds at most " +
               std::to_string(kLongestPath);
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
    Complain(with, "cannot read " + ToUtf8(kLinkKeyPath) + " (error " + std::to_string(result) + ")");
}

int ListLinks(const Eudclink& with, bool tsv, bool problemsOnly)
{
    std::vector<LinkValue> values;
    if (!ReadKey(with, values))
        return status::kRegistry;
    CStringArray fontList;
    BuildFontList(with.fonts, fontList);
    std::vector<LinkRow> rows = ReportLinks(fontList, values, with.files, with.rules);
    if (problemsOnly)
        std::erase_if(rows, [](const LinkRow& row) { return !IsProblem(row.state); });

    if (tsv)
        with.console.Out(TsvOf(rows, with.rules));
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
        name = FindListedFont(with.fonts, font, with.rules.isSameName);
        if (name.empty() && !anyFont) {
            Complain(with, "\"" + Shown(font, with.rules) +
                               "\" is not a font that can have a link (an installed TrueType font with the "
                               "Big5 or Shift-JIS character set); --any-font links it all the same");
            return status::kRefused;
        }
        if (name.empty())
            name = font;
    }

    CString path;
    if (!with.files.FullPath(file, path)) {
        Complain(with, Shown(file, with.rules) + ": not a path");
        return status::kRefused;
    }
    FontFileCheck check;
    if (const std::string refusal = RefusalOf(with, path, check); !refusal.empty()) {
        Complain(with, refusal);
        return status::kRefused;
    }

    std::optional<LinkValue> value;
    if (!ReadValue(with, name, value))
        return status::kRegistry;
    const std::string old = LinkText(with, value);
    const bool made = Change(
        with,
        [&](RegistryKey& key) {  // the path and its NUL, as Modify writes it
            return key.SetValue(name, registry::kString, path.c_str(),
                                static_cast<std::uint32_t>(path.size() + 1)) == registry::kSuccess;
        },
        IfKeyMissing::Create);
    if (!made)
        return status::kRegistry;
    with.console.Out(Shown(name, with.rules) + "\n  old link: " + old + "\n  new link: " +
                     Shown(path, with.rules) + " (" + std::to_string(check.chars.value_or(0)) +
                     " EUDC characters)\n");
    return status::kDone;
}

int UnlinkFont(const Eudclink& with, const CString& name)
{
    std::optional<LinkValue> value;
    if (!ReadValue(with, name, value))
        return status::kRegistry;
    if (!value) {
        with.console.Out(Shown(name, with.rules) + " has no link; nothing was changed\n");
        return status::kDone;
    }
    const std::string old = LinkText(with, value);
    const bool made = Change(
        with,
        [&](RegistryKey& key) {  // the registry finds the value as the lookup did
            const long result = key.DeleteValue(name);
            return result == registry::kSuccess || result == registry::kNotFound;
        },
        IfKeyMissing::NothingToChange);
    if (!made)
        return status::kRegistry;
    with.console.Out(Shown(name, with.rules) + "\n  old link: " + old + "\n  new link: (none)\n");
    return status::kDone;
}
