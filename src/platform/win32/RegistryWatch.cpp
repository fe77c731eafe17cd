#include "platform/win32/RegistryWatch.h"

RegistryWatch::RegistryWatch(const char* parent, HWND window, UINT message)
    : m_parent(parent), m_window(window), m_message(message)
{
    Rearm();
}

// The parent may be missing too: then HKEY_CURRENT_USER's own subkeys are watched until it
// is made. A watch that cannot be set leaves the window as it was before such watches: it
// shows what it last read.
void RegistryWatch::Rearm()
{
    auto arming = std::make_unique<Arming>(Arming{m_window, m_message, ++m_armings});
    arming->event = UniqueFile(::CreateEventA(nullptr, FALSE, FALSE, nullptr));
    const bool subtree = ::RegOpenKeyExA(HKEY_CURRENT_USER, m_parent.c_str(), 0, KEY_NOTIFY,
                                         arming->key.put()) == ERROR_SUCCESS;
    if (!subtree)
        ::RegOpenKeyExA(HKEY_CURRENT_USER, nullptr, 0, KEY_NOTIFY, arming->key.put());
    const DWORD filter = REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET;
    if (!arming->event || !arming->key ||
        ::RegNotifyChangeKeyValue(arming->key.get(), subtree, filter, arming->event.get(), TRUE) != ERROR_SUCCESS ||
        (m_posting && !StartWaiting(*arming))) {
        m_arming.reset();
        return;
    }
    m_arming = std::move(arming);
}

void RegistryWatch::Post()
{
    m_posting = true;
    if (m_arming && !StartWaiting(*m_arming))
        m_arming.reset();
}

bool RegistryWatch::StartWaiting(Arming& arming)
{
    return ::RegisterWaitForSingleObject(arming.wait.put(), arming.event.get(), Signalled, &arming, INFINITE,
                                         WT_EXECUTEONLYONCE) != FALSE;
}

// On a thread of the system's pool; the arming lives until its wait has ended.
void CALLBACK RegistryWatch::Signalled(void* arming, BOOLEAN)
{
    const auto& signalled = *static_cast<const Arming*>(arming);
    ::PostMessageA(signalled.window, signalled.message, signalled.number, 0);
}
