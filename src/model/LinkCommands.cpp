// Modify and Remove: each changes at most one value of the key, with EUDC support off.
#include "model/EudcPath.h"
#include "model/FontList.h"
#include "model/FontLinks.h"

FontLinks::FontLinks(Registry& registry, Libraries& libraries, LinkWindow& window, CodePageRules rules)
    : m_registry(registry), m_libraries(libraries), m_window(window), m_rules(rules)
{
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
void FontLinks::ChangeKey(const Change& change, IfKeyMissing ifMissing)
{
    SetEUDCEnabled(false);
    if (!MakeChange(change, ifMissing))
        m_window.ShowMessage(kRegistryFailure);
    SetEUDCEnabled(true);
    LoadLinks();
    m_window.RepaintAll();
}

bool FontLinks::MakeChange(const Change& change, IfKeyMissing ifMissing)
{
    long opened = registry::kSuccess;
    std::unique_ptr<RegistryKey> key = m_registry.OpenKey(kLinkKey, registry::kWrite, opened);
    if (!key && opened == registry::kNotFound) {
        // Another program deleted the key while the window was open.
        if (ifMissing == IfKeyMissing::NothingToChange)
            return true;
        key = CreateLinkKey();
    }
    return key && change(*key);
}
