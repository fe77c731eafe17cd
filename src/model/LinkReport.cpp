#include "model/LinkReport.h"

#include <algorithm>
#include <cstring>

#include "model/EudcCharacters.h"
#include "model/FontList.h"

namespace {

bool IsAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Characters that no Windows path holds: controls and the wildcards and separators of
// the shell. The second byte of a double-byte character is never taken for one.
bool HasForbiddenCharacter(const CString& text, LeadByteTest isLeadByte)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (isLeadByte(byte))
            ++i;
        else if (byte < 0x20 || byte == 0x7F || std::strchr("<>\"|?*", byte))
            return true;
    }
    return false;
}

bool NamesAFolder(const CString& text, LeadByteTest isLeadByte)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isLeadByte(static_cast<unsigned char>(text[i])))
            ++i;
        else if (text[i] == '\\' || text[i] == '/' || text[i] == ':')
            return true;
    }
    return false;
}

bool IsFullPath(const CString& text)
{
    const bool drive = text.size() >= 3 && IsAsciiLetter(text[0]) && text[1] == ':' &&
                       (text[2] == '\\' || text[2] == '/');
    return drive || text.starts_with("\\\\");
}

LinkRow RowOf(const CString& name, NameKind kind, const LinkValue* value, Files& files, LeadByteTest isLeadByte)
{
    LinkRow row{name, kind, {}, {}, LinkState::Unlinked};
    if (!value)
        return row;
    row.state = LinkState::BadValue;
    if (value->type != registry::kString)
        return row;
    row.file = value->Text();
    const CString path = LinkedFile(row.file, files, isLeadByte);
    if (path.empty())
        return row;
    const FontFileCheck check = CheckFontFile(files, path);
    row.state = check.state;
    row.chars = check.chars;
    return row;
}

}  // namespace

const char* NameKindText(NameKind kind)
{
    switch (kind) {
    case NameKind::Default: return "default";
    case NameKind::Installed: return "installed";
    case NameKind::NotInstalled: return "not-installed";
    }
    return "";
}

const char* LinkStateText(LinkState state)
{
    switch (state) {
    case LinkState::Linked: return "linked";
    case LinkState::Unlinked: return "unlinked";
    case LinkState::MissingFile: return "missing-file";
    case LinkState::NotAFont: return "not-a-font";
    case LinkState::BadValue: return "bad-value";
    }
    return "";
}

bool IsProblem(LinkState state)
{
    return state == LinkState::MissingFile || state == LinkState::NotAFont || state == LinkState::BadValue;
}

FontFileCheck CheckFontFile(Files& files, const CString& path)
{
    if (!files.IsFile(path))
        return {LinkState::MissingFile, {}};
    std::string bytes;
    if (!files.Read(path, kLargestFontFile, bytes))
        return {LinkState::NotAFont, {}};
    const std::optional<std::size_t> chars = CountEudcCharacters(bytes);
    return {chars ? LinkState::Linked : LinkState::NotAFont, chars};
}

CString LinkedFile(const CString& text, Files& files, LeadByteTest isLeadByte)
{
    if (text.empty() || HasForbiddenCharacter(text, isLeadByte))
        return {};
    if (IsFullPath(text))
        return text;
    if (NamesAFolder(text, isLeadByte))
        return {};  // relative to some folder that the system does not know
    return files.FontsFolder() + "\\" + text;
}

std::vector<LinkRow> ReportLinks(const CStringArray& fontList, const std::vector<LinkValue>& values, Files& files,
                                 CodePageRules rules)
{
    std::vector<bool> shown(values.size(), false);
    const auto find = [&](const CString& name) -> const LinkValue* {
        const auto found = std::find_if(values.begin(), values.end(),
                                        [&](const LinkValue& value) { return rules.isSameName(value.name, name); });
        if (found == values.end())
            return nullptr;
        shown[found - values.begin()] = true;
        return &*found;
    };

    std::vector<LinkRow> rows;
    for (std::size_t i = 0; i < fontList.size(); ++i) {
        const NameKind kind = i == 0 ? NameKind::Default : NameKind::Installed;
        rows.push_back(RowOf(fontList[i], kind, find(fontList[i]), files, rules.isLeadByte));
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!shown[i])
            rows.push_back(RowOf(values[i].name, NameKind::NotInstalled, &values[i], files, rules.isLeadByte));
    }
    return rows;
}
