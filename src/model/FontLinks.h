// The links of fonts to EUDC files: the main dialog's mirror of the registry key
// HKEY_CURRENT_USER\EUDC\950, and the commands that change the key.
#pragma once

#include "model/LinkKey.h"
#include "model/LinkWindow.h"
#include "platform/CodePage.h"
#include "platform/Libraries.h"
#include "platform/Registry.h"
#include "platform/Strings.h"

class FontLinks {
public:
    FontLinks(Registry& registry, Libraries& libraries, LinkWindow& window, CodePageRules rules);

    // Rebuilds the table from the key, creating the key when it is missing. When it can
    // be neither opened nor created, says so and keeps the table as it was.
    void LoadLinks();
    // The index of the value that the registry finds for this name, or -1: letters match
    // in either case, as the registry matches them.
    int FindLink(CString fontName) const;
    // What the row of FontList[row] shows: its file's name or the no-link text.
    CString GetLinkText(int row) const;

    // Switches the system's EUDC support on or off; a failure is shown, never returned.
    void SetEUDCEnabled(bool enable);

    // Links a file chosen by the user to the selected row's font, creating the key if
    // another program deleted it. A write that fails is shown.
    void OnModify();
    // Deletes the link of the selected row's font. A font without a link is no failure;
    // a deletion that fails is shown.
    void OnRemove();
    void OnDblclkFontList();

    // The value names and data of the key, parallel, in the registry's enumeration order.
    CStringArray m_linkFonts;
    CStringArray m_linkFiles;

private:
    // The selected row, or -1 when there is none or it has no font.
    int SelectedFontRow() const;
    void ChangeKey(const KeyChange& change, IfKeyMissing ifMissing);

    Registry& m_registry;
    Libraries& m_libraries;
    LinkWindow& m_window;
    CodePageRules m_rules;
};
