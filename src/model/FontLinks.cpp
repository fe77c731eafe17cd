// The rows of the main window and its two commands: each changes at most one value of the
// key, with EUDC support off, and the rows are made again from the key afterwards.
#include "model/FontLinks.h"

#include <algorithm>
#include <map>

#include "model/EudcPath.h"
#include "model/FontList.h"

FontLinks::FontLinks(const LinkPorts& ports, LinkWindow& window) : m_ports(ports), m_window(window)
{
}

void FontLinks::BuildFontList()
{
    ::BuildFontList(m_ports.fonts, m_fontList);
    RemakeRows();
}

void FontLinks::LoadLinks()
{
    long opened = registry::kSuccess;
    std::unique_ptr<RegistryKey> key = m_ports.registry.OpenKey(kLinkKey, registry::kRead, opened);
    if (!key)
        key = CreateLinkKey(m_ports.registry);
    if (!key) {
        m_window.ShowMessage(kRegistryFailure);
        return;
    }
    // A value that cannot be read ends the rows' links; those before it are shown.
    m_values.clear();
    ReadValues(*key, m_values);
    RemakeRows();
}

bool FontLinks::ReloadLinks()
{
    std::vector<StoredValue> values;
    if (ReadLinkKey(m_ports.registry, values) != registry::kSuccess || values == m_values)
        return false;
    m_values = std::move(values);
    RemakeRows();
    return true;
}

// The window shows the fonts' rows only. A file checked before keeps its state until the
// check made now tells otherwise, so that a row does not flicker while it is checked again.
void FontLinks::RemakeRows()
{
    std::map<CString, FontFileCheck> checked;
    for (const LinkRow& row : m_rows)
        if (!row.file.empty() && row.state != LinkState::Unchecked)
            checked[row.file] = {row.state, row.chars};
    m_rows = MakeRows(m_fontList, m_values, m_ports.files.FontsFolder(), m_ports.rules, OtherValues::Left);
    for (LinkRow& row : m_rows) {
        const auto found = row.state == LinkState::Unchecked ? checked.find(row.file) : checked.end();
        if (found != checked.end()) {
            row.state = found->second.state;
            row.chars = found->second.chars;
        }
    }
    CheckLinkedFiles();
}

void FontLinks::CheckFilesInBackground(std::function<bool()> ready)
{
    m_checker = std::make_unique<LinkChecker>(m_ports.files, std::move(ready));
    CheckLinkedFiles();
}

void FontLinks::StopChecks()
{
    m_checker.reset();
}

// Each file once, however many rows link it.
void FontLinks::CheckLinkedFiles()
{
    if (!m_checker)
        return;
    std::vector<CString> files;
    for (const LinkRow& row : m_rows)
        if (!row.file.empty())
            files.push_back(row.file);
    std::sort(files.begin(), files.end());
    files.erase(std::unique(files.begin(), files.end()), files.end());
    m_checker->Check(std::move(files));
}

std::vector<int> FontLinks::ApplyChecks()
{
    std::vector<int> changed;
    if (!m_checker)
        return changed;
    for (const LinkChecker::Result& result : m_checker->TakeResults()) {
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            LinkRow& row = m_rows[i];
            if (row.file != result.file)
                continue;
            if (row.state != result.check.state)
                changed.push_back(static_cast<int>(i));
            row.state = result.check.state;
            row.chars = result.check.chars;
        }
    }
    return changed;
}

int FontLinks::FindRow(const CString& name) const
{
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].name == name)
            return static_cast<int>(i);
    return -1;
}

std::span<const LinkRow> FontLinks::Rows() const
{
    return m_rows;
}

int FontLinks::SelectedRow() const
{
    const int row = m_window.GetSelectedRow();
    return row >= 0 && static_cast<std::size_t>(row) < Rows().size() ? row : -1;
}

void FontLinks::LinkSelected()
{
    if (SelectedRow() == -1)
        return;
    CString path;
    if (!m_window.ChooseEudcFile(path))
        return;
    // The open-file dialog has no owner, so the user may have selected another row
    // meanwhile: the link goes to the row selected now.
    const int row = SelectedRow();
    if (row == -1 || !HasEudcExtension(path))
        return;
    const StoredValue link = StringValue(m_ports.rules.toWide(m_fontList[row]), path, m_ports.rules.toWide);
    ChangeKey([&](RegistryKey& key) { return key.SetValue(link) == registry::kSuccess; }, IfKeyMissing::Create);
}

void FontLinks::UnlinkSelected()
{
    const int row = SelectedRow();
    if (row == -1)
        return;
    const std::u16string name = m_ports.rules.toWide(m_fontList[row]);
    ChangeKey([&](RegistryKey& key) { return IsDeleted(key.DeleteValue(name)); }, IfKeyMissing::NothingToChange);
}

// Makes one change to the key while EUDC support is off, then shows the key as it is now.
// The registry decides which value a name reaches, without regard to case.
void FontLinks::ChangeKey(const KeyChange& change, IfKeyMissing ifMissing)
{
    ChangeWithEudcOff(m_ports.registry, m_ports.libraries, change, ifMissing,
                      [this](const char* failure) { m_window.ShowMessage(failure); });
    m_window.KeyWritten();
    LoadLinks();
    m_window.RepaintAll();
}
