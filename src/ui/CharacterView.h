// The character view: every EUDC character of a linked file in a scrollable grid, each
// drawn from the file itself, loaded for this process only while the view is open; the
// selected one shown large with its Unicode code point and its code in the code page.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/LinkPorts.h"
#include "platform/win32/Dialog.h"
#include "platform/win32/PrivateFont.h"
#include "ui/CharacterGrid.h"

class CCharacterView : public CDialog {
public:
    // Reads the characters and the family name of the font file `path` (full path) and
    // loads it; IsReadable says whether that worked.
    CCharacterView(const DialogContext& context, const LinkPorts& ports, const CString& path);

    // Whether the file is a font whose characters can be shown; only then may DoModal run.
    bool IsReadable() const { return m_glyphs && m_large; }

    // The grid, for tests and the benchmark that look inside.
    const CharacterGrid& Grid() const { return m_grid; }

protected:
    BOOL OnInitDialog() override;
    const MessageMap& GetMessageMap() const override;

private:
    void LayOut();
    void OnSelectionChanged();
    void OnDrawItem(int controlId, DRAWITEMSTRUCT* item);
    void ShowSelected();

    static const MessageMapEntry messageEntries[];
    static const MessageMap messageMap;

    CodePageRules m_rules;
    CString m_path;
    std::vector<char32_t> m_characters;
    std::optional<PrivateFont> m_font;
    GdiObject<HFONT> m_glyphs;  // in the grid's cells
    GdiObject<HFONT> m_large;   // the selected character
    CharacterGrid m_grid;
};
