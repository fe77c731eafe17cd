// The links of fonts to EUDC files: the main dialog's mirror of the registry key
// HKEY_CURRENT_USER\EUDC\950, and the commands that change the key.
#pragma once

#include <functional>

#include "platform/CodePage.h"
#include "platform/Libraries.h"
#include "platform/LinkWindow.h"
#include "platform/Registry.h"
#include "platform/Strings.h"

// The key, under HKEY_CURRENT_USER. 950 is Big5's code page, whatever the system's is.
inline constexpr char kLinkKey[] = "EUDC\\950";

class FontLinks {
public:
    FontLinks(Registry& registry, Libraries& libraries, LinkWindow& window, LeadByteTest isLeadByte);

    // Rebuilds the table from the key, creating the key when it is missing. When it can
    // be neither opened nor created, says so and keeps the table as it was.
    void LoadLinks();
    // The index of the value with exactly this name, letter case included, or -1.
    int FindLink(CString fontName) const;
    // What the row of FontList[row] shows: its file's name or the no-link text.
    CString GetLinkText(int row) const;

    // Switches the system's EUDC support on or off; a failure is shown, never returned.
    void SetEUDCEnabled(bool enable);

    // Links a file chosen by the user to the selected row's font.
    void OnModify();
    // Deletes the link of the selected row's font.
    void OnRemove();
    void OnDblclkFontList();

    // The value names and data of the key, parallel, in the registry's enumeration order.
    CStringArray m_linkFonts;
    CStringArray m_linkFiles;

private:
    // The selected row, or -1 when there is none or it has no font.
    int SelectedFontRow() const;
    void ChangeKey(const std::function<void(RegistryKey&)>& change);

    Registry& m_registry;
    Libraries& m_libraries;
    LinkWindow& m_window;
    LeadByteTest m_isLeadByte;
};
