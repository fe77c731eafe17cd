#include "model/LinkRows.h"

#include <algorithm>
#include <utility>

#include "model/EudcCharacters.h"
#include "model/EudcPath.h"
#include "model/FontList.h"
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

// The rows of `fontList`, each with the value that the registry finds for its name, then,
// if asked, every other value's row; `valueRow(i)` gives value i's row as a name no font
// has would show it.
template <typename ValueRow>
std::vector<LinkRow> RowsOf(const CStringArray& fontList, const std::vector<StoredValue>& values,
                            const CodePageRules& rules, OtherValues others, const ValueRow& valueRow)
{
    const ValueIndex index(values, rules.nameKey);
    std::vector<bool> shown(values.size(), false);
    std::vector<LinkRow> rows;
    rows.reserve(fontList.size() + (others == OtherValues::Listed ? values.size() : 0));
    for (std::size_t i = 0; i < fontList.size(); ++i) {
        const std::ptrdiff_t found = index.Find(rules.KeyOf(fontList[i]));
        LinkRow row;
        if (found == -1) {
            row.name = row.valueName = fontList[i];
        } else {
            shown[found] = true;
            row = valueRow(found);
            row.name = fontList[i];
        }
        row.kind = i == 0 ? NameKind::Default : NameKind::Installed;
        rows.push_back(std::move(row));
    }
    for (std::size_t i = 0; others == OtherValues::Listed && i < values.size(); ++i) {
        if (!shown[i])
            rows.push_back(valueRow(i));
    }
    return rows;
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
    return RowsOf(fontList, values, rules, others, [&](std::size_t i) {
        return RowOf(rules.toAnsi(values[i].name), NameKind::NotInstalled, &values[i], fontsFolder, rules);
    });
}

std::vector<LinkRow> BrokenLinkRows(FontSource& fonts, const CharSets& charSets,
                                    const std::vector<StoredValue>& values, Files& files, const CodePageRules& rules)
{
    // Each value's file is looked at once, whichever font list its row then goes to.
    std::vector<LinkRow> valueRows;
    valueRows.reserve(values.size());
    for (const StoredValue& value : values) {
        valueRows.push_back(RowOf(rules.toAnsi(value.name), NameKind::NotInstalled, &value, files.FontsFolder(), rules));
        CheckLinkedFile(valueRows.back(), files);
    }

    // A broken link's row is an installed font's only if a family of its name can have a
    // link: while none can, the rows need no font list, and each broken link's name is
    // asked about by itself, unless so many are broken that one enumeration of every
    // family costs less (under Wine, about 0.03 ms a name against 0.25 ms a family, and
    // 20 to 30 ms for the fewest families). Once one is found, only the whole list tells
    // its row: a family asked for by one name can be listed under another (Wine lists a
    // family under its Chinese name, yet reports it under the English name it is asked
    // by), and two installed rows go in the system's order.
    constexpr std::ptrdiff_t kMostNamesAsked = 1000;
    const auto broken = [](const LinkRow& row) { return IsProblem(row.state); };
    CStringArray fontList{kSystemDefaultEUDCFont};
    const auto collect = [&](const EnumeratedFont& font) { return CollectFontFamily(font, fontList, charSets); };
    const bool askEach = std::ranges::count_if(valueRows, broken) <= kMostNamesAsked;
    for (std::size_t i = 0; askEach && i < valueRows.size() && fontList.size() == 1; ++i) {
        if (broken(valueRows[i]))
            fonts.EnumerateFamily(valueRows[i].valueName, collect);
    }
    if (!askEach || fontList.size() > 1)
        BuildFontList(fonts, fontList, charSets);
    std::vector<LinkRow> rows =
        RowsOf(fontList, values, rules, OtherValues::Listed, [&](std::size_t i) { return valueRows[i]; });
    std::erase_if(rows, [&](const LinkRow& row) { return !broken(row); });
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
