// Static message maps: each dialog class has one table that names the message, for
// WM_COMMAND also the notification code and control id, and the member that handles it.
//
//     static const MessageMapEntry entries[] = {
//         OnMessage<&CMyDlg::OnPaint>(WM_PAINT),
//         OnCommand<&CMyDlg::OnModify>(BN_CLICKED, IDC_MODIFY),
//     };
//
// A handler's signature decides how the message's parameters reach it (HandlerCall).
#pragma once

#include <windows.h>

#include <span>

class CDialog;

using MessageHandler = LRESULT (*)(CDialog& dialog, WPARAM wParam, LPARAM lParam);

struct MessageMapEntry {
    UINT message;
    UINT code;  // WM_COMMAND only: the notification code
    int id;     // WM_COMMAND only: the control id
    MessageHandler handler;
};

struct MessageMap {
    const MessageMap* base;  // searched when no entry here matches
    std::span<const MessageMapEntry> entries;
};

template <auto Handler>
struct HandlerCall;

template <class D, void (D::*Handler)()>
struct HandlerCall<Handler> {
    static LRESULT Call(CDialog& dialog, WPARAM, LPARAM)
    {
        (static_cast<D&>(dialog).*Handler)();
        return 0;
    }
};

template <class D, LRESULT (D::*Handler)(WPARAM, LPARAM)>
struct HandlerCall<Handler> {
    static LRESULT Call(CDialog& dialog, WPARAM wParam, LPARAM lParam)
    {
        return (static_cast<D&>(dialog).*Handler)(wParam, lParam);
    }
};

template <class D, void (D::*Handler)(UINT, LPARAM)>
struct HandlerCall<Handler> {
    static LRESULT Call(CDialog& dialog, WPARAM wParam, LPARAM lParam)
    {
        (static_cast<D&>(dialog).*Handler)(static_cast<UINT>(wParam), lParam);
        return 0;
    }
};

template <class D, HCURSOR (D::*Handler)()>
struct HandlerCall<Handler> {
    static LRESULT Call(CDialog& dialog, WPARAM, LPARAM)
    {
        return reinterpret_cast<LRESULT>((static_cast<D&>(dialog).*Handler)());
    }
};

template <class D, class Item, void (D::*Handler)(int, Item*)>
struct HandlerCall<Handler> {
    static LRESULT Call(CDialog& dialog, WPARAM wParam, LPARAM lParam)
    {
        (static_cast<D&>(dialog).*Handler)(static_cast<int>(wParam),
                                           reinterpret_cast<Item*>(lParam));
        return 0;
    }
};

template <auto Handler>
constexpr MessageMapEntry OnMessage(UINT message)
{
    return {message, 0, 0, &HandlerCall<Handler>::Call};
}

template <auto Handler>
constexpr MessageMapEntry OnCommand(UINT code, int id)
{
    return {WM_COMMAND, code, id, &HandlerCall<Handler>::Call};
}
