#include "model/LinkRows.h"

#include <algorithm>
#include <utility>

#include "model/EudcCharacters.h"
#include "model/EudcPath.h"
#include "model/LinkKey.h"

namespace {

LinkRow RowOf(const CString& name, NameKind kind, const StoredValue* value, const CString& fontsFolder,
              const CodePageRules& rules)
{
    LinkRow row;
    row.name = row.valueName = name;
    row.kind = kind;
    if (!value)
        return row;
    row.valueName = rules.toAnsi(value->name);
    row.hasLink = true;
    row.type = value->type;
    row.text = ValueText(*value, rules.toAnsi);
    row.state = LinkState::BadValue;
    if (value->type != registry::kString)
        return row;
    row.file = LinkedFile(row.text, fontsFolder, rules.isLeadByte).path;
    if (!row.file.empty())
        row.state = LinkState::Unchecked;
    return row;
}

// The values' indexes sorted by the registry's key of their names, for lookups in log n.
// Among values of one key (which a registry never holds) the first in the key's order wins.
class ValueIndex {
public:
    ValueIndex(const std::vector<StoredValue>& values, NameKeyRule nameKey)
    {
        m_keys.reserve(values.size());
        for (std::size_t i = 0; i < values.size(); ++i)
            m_keys.emplace_back(nameKey(values[i].name), i);
        std::stable_sort(m_keys.begin(), m_keys.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
    }

    // The index of the value of that key, or -1.
    std::ptrdiff_t Find(const std::u16string& key) const
    {
        const auto found = std::lower_bound(m_keys.begin(), m_keys.end(), key,
                                            [](const auto& entry, const std::u16string& k) { return entry.first < k; });
        return found != m_keys.end() && found->first == key ? static_cast<std::ptrdiff_t>(found->second) : -1;
    }

private:
    std::vector<std::pair<std::u16string, std::size_t>> m_keys;
};

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
    case LinkState::Unchecked: return "unchecked";
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

std::vector<LinkRow> MakeRows(const CStringArray& fontList, const std::vector<StoredValue>& values,
                              const CString& fontsFolder, const CodePageRules& rules, OtherValues others)
{
    const ValueIndex index(values, rules.nameKey);
    std::vector<bool> shown(values.size(), false);
    std::vector<LinkRow> rows;
    rows.reserve(fontList.size() + (others == OtherValues::Listed ? values.size() : 0));
    for (std::size_t i = 0; i < fontList.size(); ++i) {
        const std::ptrdiff_t found = index.Find(rules.KeyOf(fontList[i]));
        if (found != -1)
            shown[found] = true;
        rows.push_back(RowOf(fontList[i], i == 0 ? NameKind::Default : NameKind::Installed,
                             found == -1 ? nullptr : &values[found], fontsFolder, rules));
    }
    for (std::size_t i = 0; others == OtherValues::Listed && i < values.size(); ++i) {
        if (!shown[i])
            rows.push_back(RowOf(rules.toAnsi(values[i].name), NameKind::NotInstalled, &values[i], fontsFolder, rules));
    }
    return rows;
}

FontFileCheck CheckFontFile(Files& files, const CString& path)
{
    if (!files.IsFile(path))
        return {LinkState::MissingFile, {}};
    const std::unique_ptr<ReadableFile> file = files.Open(path);
    if (!file)
        return {LinkState::NotAFont, {}};
    const std::optional<std::size_t> chars = CountEudcCharacters(*file);
    return {chars ? LinkState::Linked : LinkState::NotAFont, chars};
}

void CheckLinkedFile(LinkRow& row, Files& files)
{
    if (row.state != LinkState::Unchecked)
        return;
    const FontFileCheck check = CheckFontFile(files, row.file);
    row.state = check.state;
    row.chars = check.chars;
}
