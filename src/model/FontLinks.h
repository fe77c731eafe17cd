// The model behind the main window's list: the fonts that can have a link, their rows with
// the links the registry key holds, and the commands that link and unlink the selected one.
#pragma once

#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "model/LinkChecker.h"
#include "model/LinkKey.h"
#include "model/LinkPorts.h"
#include "model/LinkRows.h"
#include "model/LinkWindow.h"
#include "platform/Strings.h"

class FontLinks {
public:
    FontLinks(const LinkPorts& ports, LinkWindow& window);

    // Lists the system-wide default and the installed fonts that can have a link.
    void BuildFontList();
    // Reads the key again, creating it when it is missing, and makes the rows anew. When
    // the key can be neither opened nor created, says so and keeps the links last read.
    void LoadLinks();

    // Reads the key again after another program may have changed it, without creating it:
    // a missing key has no links. False, with nothing changed, when it holds the links
    // already shown.
    bool ReloadLinks();

    // One row for each entry of the font list, in its order: row i is the list's row i.
    std::span<const LinkRow> Rows() const;
    // The row of the font of this name, as stored; -1 when none.
    int FindRow(const CString& name) const;

    // From now on, each linked file is checked away from the caller's thread whenever the
    // rows are made; until then a link is taken to work. `ready` is called on the checking
    // thread when results wait for ApplyChecks, and says whether it woke the caller; one
    // that did not is called again. The ports' files must last until the process ends.
    void CheckFilesInBackground(std::function<bool()> ready);
    // No more checks, and no more calls of `ready`; a check in progress is abandoned, not
    // waited for. The rows keep the states found so far.
    void StopChecks();
    // Gives the rows the states the checks found, and returns the rows whose state changed.
    std::vector<int> ApplyChecks();

    // Links a file that the user chooses to the selected row's font, creating the key if
    // another program deleted it. A write that fails is shown.
    void LinkSelected();
    // Deletes the link of the selected row's font. A font without a link is no failure; a
    // deletion that fails is shown.
    void UnlinkSelected();

private:
    // The selected row, or -1 when there is none or it has no font.
    int SelectedRow() const;
    void RemakeRows();
    void CheckLinkedFiles();
    void ChangeKey(const KeyChange& change, IfKeyMissing ifMissing);

    LinkPorts m_ports;
    LinkWindow& m_window;
    CStringArray m_fontList;
    std::vector<StoredValue> m_values;  // the key's values as last read
    std::vector<LinkRow> m_rows;        // the font list's rows
    std::unique_ptr<LinkChecker> m_checker;
};
