// The main dialog's rows as a screen reader hears them: each row's name is what the row
// shows, the font and its link or why the link cannot work, as text rather than colour.
#pragma once

#include <windows.h>

#include "platform/win32/AccessibleItems.h"
#include "ui/ListRows.h"

class ListAccessible final : private ItemSource {
public:
    // Answers for the list box `list`, whose row i `rows` draws.
    ListAccessible(HWND list, const ListRows& rows);

    // Tells readers of the row now selected.
    void NotifySelected() const { m_items.NotifySelected(); }

private:
    long ItemCount() const override;
    std::u16string ItemName(long item) const override;
    long SelectedItem() const override;
    RECT ItemRect(long item) const override;

    HWND m_list;
    const ListRows& m_rows;
    AccessibleItems m_items;
};
