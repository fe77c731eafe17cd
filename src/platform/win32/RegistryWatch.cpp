#include "platform/win32/RegistryWatch.h"

RegistryWatch::RegistryWatch(HKEY root, const char* parent, HWND window, UINT message)
    : m_root(root), m_parent(parent), m_window(window), m_message(message)
{
    Rearm();
}

// The parent may be missing too: then the root's own subkeys are watched until it is made.
// A key deleted between its opening and the request, a quota reached: the arming waits
// without the key, and tells the window to try again.
bool RegistryWatch::Rearm()
{
    std::unique_ptr<Arming> arming(new Arming{m_window, m_message, ++m_armings});
    arming->event = UniqueFile(::CreateEventA(nullptr, FALSE, FALSE, nullptr));
    const bool subtree =
        ::RegOpenKeyExA(m_root, m_parent.c_str(), 0, KEY_NOTIFY, arming->key.put()) == ERROR_SUCCESS;
    if (!subtree)
        ::RegOpenKeyExA(m_root, nullptr, 0, KEY_NOTIFY, arming->key.put());
    const DWORD filter = REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET;
    arming->watching = arming->event && arming->key &&
                       ::RegNotifyChangeKeyValue(arming->key.get(), subtree, filter, arming->event.get(), TRUE) ==
                           ERROR_SUCCESS;
    // Without events nothing can be told: the window shows what it last read.
    if (!arming->event || (m_posting && !StartWaiting(*arming))) {
        m_arming.reset();
        return false;
    }
    m_arming = std::move(arming);
    return m_arming->watching;
}

void RegistryWatch::Post()
{
    m_posting = true;
    if (m_arming && !StartWaiting(*m_arming))
        m_arming.reset();
}

bool RegistryWatch::StartWaiting(Arming& arming)
{
    arming.ending = UniqueFile(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    return arming.ending && ::RegisterWaitForSingleObject(arming.wait.put(), arming.event.get(), Signalled, &arming,
                                         arming.watching ? INFINITE : kRetry, WT_EXECUTEONLYONCE) != FALSE;
}

// On a thread of the system's pool; the arming lives until its wait has ended, which it
// ends only once it has set `ending`.
void CALLBACK RegistryWatch::Signalled(void* arming, BOOLEAN)
{
    const auto& signalled = *static_cast<const Arming*>(arming);
    while (!::PostMessageA(signalled.window, signalled.message, signalled.number, 0) &&
           ::WaitForSingleObject(signalled.ending.get(), kRetry) == WAIT_TIMEOUT) {
    }
}
