#include "platform/win32/DialogKeyFilter.h"

#include <algorithm>
#include <vector>

#include "platform/win32/UniqueHandle.h"

namespace {

// A hook procedure is given no data of its own: the thread's filters, newest last, and
// the one hook that serves them all while there are any.
thread_local std::vector<const DialogKeyFilter*> filters;
thread_local UniqueHandle<HHOOK, ::UnhookWindowsHookEx> hook;

UINT ModifiersDown()
{
    UINT down = 0;
    for (const auto& [key, modifier] : {std::pair{VK_SHIFT, MOD_SHIFT}, {VK_CONTROL, MOD_CONTROL}, {VK_MENU, MOD_ALT}})
        if (::GetKeyState(key) < 0)
            down |= modifier;
    return down;
}

}  // namespace

DialogKeyFilter::DialogKeyFilter(UINT key, UINT modifiers, std::function<bool(HWND window)> onKey)
    : m_key(key), m_modifiers(modifiers), m_onKey(std::move(onKey))
{
    if (filters.empty())
        hook.reset(::SetWindowsHookExA(WH_MSGFILTER, FilterProc, nullptr, ::GetCurrentThreadId()));
    filters.push_back(this);
}

DialogKeyFilter::~DialogKeyFilter()
{
    std::erase(filters, this);
    if (filters.empty())
        hook.reset();
}

bool DialogKeyFilter::Takes(const MSG& message) const
{
    return message.message == WM_KEYDOWN && message.wParam == m_key && ModifiersDown() == m_modifiers &&
           m_onKey(message.hwnd);
}

// Dialog boxes pass each message here before they handle it (MSGF_DIALOGBOX). An action
// may run a dialog of its own, which makes and ends filters meanwhile: the list is
// walked by position, from the newest.
LRESULT CALLBACK DialogKeyFilter::FilterProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == MSGF_DIALOGBOX) {
        const auto& message = *reinterpret_cast<const MSG*>(lParam);
        for (std::size_t i = filters.size(); i-- > 0;) {
            if (i < filters.size() && filters[i]->Takes(message))
                return TRUE;
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
