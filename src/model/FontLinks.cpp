// The table of links read from the registry, the switch of the system's EUDC support, and
// Modify and Remove: each changes at most one value of the key, with EUDC support off.
#include "model/FontLinks.h"

#include <algorithm>
#include <vector>

#include "model/EudcPath.h"
#include "model/FontList.h"

namespace {

// What the table reads a value into first; nearly every value fits.
constexpr std::uint32_t kFirstCapacity = 256;
// Room for the longest value name the registry allows, 16,383 characters, each of them
// two bytes at most in the ANSI code page, and its NUL.
constexpr std::uint32_t kLongestName = 32768;
// A value may grow between two reads while another program writes it.
constexpr int kReadAttempts = 8;

struct LinkValue {
    CString name;
    CString data;
};

// Reads the value at `index` whole, growing the buffers as far as the value needs.
long ReadValue(RegistryKey& key, std::uint32_t index, LinkValue& value)
{
    std::vector<char> name(kFirstCapacity);
    std::vector<unsigned char> data(kFirstCapacity);
    for (int attempt = 1;; ++attempt) {
        auto nameSize = static_cast<std::uint32_t>(name.size());
        auto dataSize = static_cast<std::uint32_t>(data.size());
        std::uint32_t type = 0;  // any type is read as text
        const long result = key.EnumValue(index, name.data(), nameSize, type, data.data(), dataSize);
        if (result == registry::kSuccess) {
            // Text up to the first NUL, and never past what the call gave.
            const auto nameEnd = name.begin() + std::min<std::size_t>(nameSize, name.size());
            value.name.assign(name.begin(), std::find(name.begin(), nameEnd, '\0'));
            const auto dataEnd = data.begin() + std::min<std::size_t>(dataSize, data.size());
            value.data.assign(data.begin(), std::find(data.begin(), dataEnd, '\0'));
            return result;
        }
        if (result != registry::kMoreData || attempt == kReadAttempts)
            return result;
        // The platform tells the data's size, not the name's.
        name.resize(kLongestName);
        data.resize(dataSize > data.size() ? dataSize : data.size() * 2);
    }
}

}  // namespace

FontLinks::FontLinks(Registry& registry, Libraries& libraries, LinkWindow& window, CodePageRules rules)
    : m_registry(registry), m_libraries(libraries), m_window(window), m_rules(rules)
{
}

void FontLinks::LoadLinks()
{
    long opened = registry::kSuccess;
    std::unique_ptr<RegistryKey> key = m_registry.OpenKey(kLinkKey, registry::kRead, opened);
    if (!key)
        key = CreateLinkKey();
    if (!key) {
        m_window.ShowMessage(kRegistryFailure);
        return;
    }

    m_linkFonts.clear();
    m_linkFiles.clear();
    LinkValue value;
    for (std::uint32_t index = 0; ReadValue(*key, index, value) == registry::kSuccess; ++index) {
        m_linkFonts.push_back(value.name);
        m_linkFiles.push_back(value.data);
    }
}

std::unique_ptr<RegistryKey> FontLinks::CreateLinkKey()
{
    return m_registry.CreateKey(kLinkKey, kLinkKeyClass, registry::kAllAccess);
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

// Switched so that a change of the links takes effect at once. The graphics library is
// loaded and released on every call: EnableEUDC is looked up by name, never bound when
// the program is loaded.
void FontLinks::SetEUDCEnabled(bool enable)
{
    const std::unique_ptr<Library> gdi = m_libraries.Load("GDI32.DLL");
    if (!gdi) {
        m_window.ShowMessage("LoadLibrary Failed");
        return;
    }
    const BoolEntryPoint enableEudc = gdi->FindBoolEntryPoint("EnableEUDC");
    if (!enableEudc) {
        m_window.ShowMessage("GetProcAddress Failed");
        return;
    }
    enableEudc(enable);  // Its result tells nothing the user could act on.
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
