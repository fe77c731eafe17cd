#include "platform/win32/HelpKeyFilter.h"

namespace {

// The filter that the hook serves; a hook procedure is given no data of its own.
const HelpKeyFilter* active = nullptr;

bool IsKeyDown(int key)
{
    return ::GetKeyState(key) < 0;
}

}  // namespace

HelpKeyFilter::HelpKeyFilter(std::function<bool(HWND window)> onHelpKey)
    : m_onHelpKey(std::move(onHelpKey)),
      m_hook(::SetWindowsHookExA(WH_MSGFILTER, FilterProc, nullptr, ::GetCurrentThreadId()))
{
    active = this;
}

HelpKeyFilter::~HelpKeyFilter()
{
    ::UnhookWindowsHookEx(m_hook);
    active = nullptr;
}

// Dialog boxes pass each message here before they handle it (MSGF_DIALOGBOX).
LRESULT CALLBACK HelpKeyFilter::FilterProc(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && message->message == WM_KEYDOWN && message->wParam == VK_F1 &&
        !IsKeyDown(VK_SHIFT) && !IsKeyDown(VK_CONTROL) && !IsKeyDown(VK_MENU) && active != nullptr &&
        active->m_onHelpKey(message->hwnd))
        return TRUE;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
