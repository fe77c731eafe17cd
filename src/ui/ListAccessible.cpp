#include "ui/ListAccessible.h"

#include <oleacc.h>

#include "platform/win32/AnsiCodePage.h"

ListAccessible::ListAccessible(HWND list, const ListRows& rows)
    : m_list(list), m_rows(rows), m_items(list, *this, ROLE_SYSTEM_LISTITEM)
{
}

long ListAccessible::ItemCount() const
{
    return static_cast<long>(::SendMessageA(m_list, LB_GETCOUNT, 0, 0));
}

std::u16string ListAccessible::ItemName(long item) const
{
    return AnsiToWide(m_rows.SpokenText(static_cast<std::size_t>(item)));
}

long ListAccessible::SelectedItem() const
{
    return static_cast<long>(::SendMessageA(m_list, LB_GETCURSEL, 0, 0));
}

RECT ListAccessible::ItemRect(long item) const
{
    RECT rect{};
    ::SendMessageA(m_list, LB_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rect));
    return rect;
}
