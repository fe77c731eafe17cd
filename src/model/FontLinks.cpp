// The rows of the main window and its two commands: each changes at most one value of the
// key, with EUDC support off, and the rows are made again from the key afterwards.
#include "model/FontLinks.h"

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

// The window shows the fonts' rows only.
void FontLinks::RemakeRows()
{
    m_rows = MakeRows(m_fontList, m_values, m_ports.files.FontsFolder(), m_ports.rules, OtherValues::Left);
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
    LoadLinks();
    m_window.RepaintAll();
}
