#include "platform/win32/ShortcutKeyFilter.h"

namespace {

// The filter that the hook serves; a hook procedure is given no data of its own.
const ShortcutKeyFilter* active = nullptr;

bool IsKeyDown(int key)
{
    return ::GetKeyState(key) < 0;
}

}  // namespace

ShortcutKeyFilter::ShortcutKeyFilter(HWND dialog, UINT key, UINT command)
    : m_dialog(dialog), m_key(key), m_command(command),
      m_hook(::SetWindowsHookExA(WH_MSGFILTER, FilterProc, nullptr, ::GetCurrentThreadId()))
{
    active = this;
}

ShortcutKeyFilter::~ShortcutKeyFilter()
{
    ::UnhookWindowsHookEx(m_hook);
    active = nullptr;
}

// Only keys meant for the dialog itself: not those of a box it has opened.
LRESULT CALLBACK ShortcutKeyFilter::FilterProc(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    const ShortcutKeyFilter* filter = active;
    if (code == MSGF_DIALOGBOX && filter != nullptr && message->message == WM_KEYDOWN &&
        message->wParam == filter->m_key && IsKeyDown(VK_CONTROL) && !IsKeyDown(VK_SHIFT) && !IsKeyDown(VK_MENU) &&
        ::GetAncestor(message->hwnd, GA_ROOT) == filter->m_dialog) {
        ::PostMessageA(filter->m_dialog, WM_SYSCOMMAND, filter->m_command, 0);
        return TRUE;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
