// The table of links read from the registry, the switch of the system's EUDC support, and
// Modify and Remove: each changes at most one value of the key, with EUDC support off.
#include "model/FontLinks.h"

#include <algorithm>
#include <vector>

#include "model/EudcPath.h"
#include "model/FontList.h"

FontLinks::FontLinks(Registry& registry, Libraries& libraries, LinkWindow& window, CodePageRules rules)
    : m_registry(registry), m_libraries(libraries), m_window(window), m_rules(rules)
{
}

void FontLinks::LoadLinks()
{
    long opened = registry::kSuccess;
    std::unique_ptr<RegistryKey> key = m_registry.OpenKey(kLinkKey, registry::kRead, opened);
    if (!key)
        key = CreateLinkKey(m_registry);
    if (!key) {
        m_window.ShowMessage(kRegistryFailure);
        return;
    }

    // A value that cannot be read ends the table; those before it are shown.
    std::vector<LinkValue> values;
    ReadLinkValues(*key, values);
    m_linkFonts.clear();
    m_linkFiles.clear();
    for (const LinkValue& value : values) {
        m_linkFonts.push_back(value.name);
        m_linkFiles.push_back(value.Text());
    }
}

int FontLinks::FindLink(CString fontName) const
{
    const auto found = std::find_if(m_linkFonts.begin(), m_linkFonts.end(),
                                    [&](const CString& name) { return m_rules.isSameName(name, fontName); });
    return found == m_linkFonts.end() ? -1 : static_cast<int>(found - m_linkFonts.begin());
}

CString FontLinks::GetLinkText(int row) const
{
    const int link = FindLink(FontList[row]);
    if (link == -1)
        return m_window.NoAssignedText();
    return LinkFileName(m_linkFiles[link], m_rules.isLeadByte);
}

// Switched so that a change of the links takes effect at once.
void FontLinks::SetEUDCEnabled(bool enable)
{
    if (const char* failure = SwitchEudc(m_libraries, enable))
        m_window.ShowMessage(failure);
}

int FontLinks::SelectedFontRow() const
{
    const int row = m_window.GetSelectedRow();
    return row >= 0 && static_cast<std::size_t>(row) < FontList.size() ? row : -1;
}

void FontLinks::OnModify()
{
    if (SelectedFontRow() == -1)
        return;
    CString path;
    if (!m_window.ChooseEudcFile(path))
        return;
    // The open-file dialog has no owner, so the user may have selected another row
    // meanwhile: the link goes to the row selected now.
    const int row = SelectedFontRow();
    if (row == -1 || !HasEudcExtension(path))
        return;
    const CString& fontName = FontList[row];
    ChangeKey(
        [&](RegistryKey& key) {  // the path and its NUL
            return key.SetValue(fontName, registry::kString, path.c_str(),
                                static_cast<std::uint32_t>(path.size() + 1)) == registry::kSuccess;
        },
        IfKeyMissing::Create);
}

void FontLinks::OnRemove()
{
    const int row = SelectedFontRow();
    if (row == -1)
        return;
    const CString& fontName = FontList[row];
    ChangeKey(
        [&](RegistryKey& key) {
            const long result = key.DeleteValue(fontName);
            return result == registry::kSuccess || result == registry::kNotFound;
        },
        IfKeyMissing::NothingToChange);
}

void FontLinks::OnDblclkFontList()
{
    if (SelectedFontRow() != -1)
        OnModify();
}

// Makes one change to the key while EUDC support is off, then shows the key as it is now.
// The registry decides which value a name reaches, without regard to case.
void FontLinks::ChangeKey(const KeyChange& change, IfKeyMissing ifMissing)
{
    ChangeWithEudcOff(m_registry, m_libraries, change, ifMissing,
                      [this](const char* failure) { m_window.ShowMessage(failure); });
    LoadLinks();
    m_window.RepaintAll();
}
