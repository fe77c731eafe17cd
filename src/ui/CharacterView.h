// The character view: every EUDC character of a linked file in a scrollable grid, each
// drawn from the file itself, loaded for this process only while the view is open; the
// selected one shown large with its Unicode code point and its code in the code page. A
// screen reader hears the selected cell as the character and the same two codes.
#pragma once

#include <memory>
#include <optional>
#include <utility>

#include "model/LinkPorts.h"
#include "platform/win32/AccessibleItems.h"
#include "platform/win32/Dialog.h"
#include "ui/CharacterGrid.h"
#include "ui/CharacterLoad.h"

class CCharacterView : public CDialog, private ItemSource {
public:
    // What DoModal returns when the file turned out to be no font whose characters can be
    // shown; the view has then closed by itself.
    static constexpr INT_PTR kUnreadable = 0x100;  // no IDOK, no IDCANCEL

    // The view of the font file `path` (full path). It opens at once and reads the file,
    // and loads it, away from the window's thread; closing it abandons a read that waits.
    CCharacterView(const DialogContext& context, const LinkPorts& ports, const CString& path);
    ~CCharacterView() override;

protected:
    BOOL OnInitDialog() override;
    const MessageMap& GetMessageMap() const override;

private:
    void LayOut();
    void OnLoaded();
    void OnDestroy();
    void OnSelectionChanged();
    void OnDrawItem(int controlId, DRAWITEMSTRUCT* item);
    void ShowSelected();
    // The codes of the character at `index` as the view shows them, "Unicode U+E000" and
    // "Big5 FA40"; empty while there is no such character.
    std::pair<CString, CString> CodesOf(std::size_t index) const;

    // The grid's cells, for readers.
    long ItemCount() const override;
    std::u16string ItemName(long item) const override;
    long SelectedItem() const override;
    RECT ItemRect(long item) const override;

    static const MessageMapEntry messageEntries[];
    static const MessageMap messageMap;

    Files& m_files;
    CodePageRules m_rules;
    CString m_path;
    std::unique_ptr<CharacterLoad> m_load;  // while the view is open
    std::optional<CharacterLoad::Loaded> m_loaded;
    CharacterGrid m_grid;
    std::unique_ptr<AccessibleItems> m_cellsHeard;  // while the grid's window lives
};
