// Tells a window when a key under HKEY_CURRENT_USER may have changed: a value added,
// changed or deleted, or the key deleted or made again, by this program or another.
#pragma once

#include <windows.h>

#include <memory>

#include "platform/Strings.h"
#include "platform/win32/UniqueHandle.h"

class RegistryWatch {
public:
    // How long a watch that could not be set waits before it tells the window to try again,
    // and a message that the window's full queue refused waits before it is posted again.
    static constexpr DWORD kRetry = 250;  // ms

    // Watches `parent` under `root` (HKEY_CURRENT_USER but in tests) and all below it, so
    // that a subkey's own deletion and making are seen too; `message` is posted to `window`
    // once per arming, its wParam the arming's number, from the time Post is called: a
    // change before that is told then. An arming that could not watch the key posts after
    // kRetry all the same, as the key may have changed meanwhile: the window then re-arms
    // and reads it again, as after any change.
    RegistryWatch(HKEY root, const char* parent, HWND window, UINT message);

    // Starts posting. The wait that posts starts a thread of the system's pool, which a
    // window may leave until it has painted.
    void Post();

    // Watches again from now on, under a new number. Call it on the window's thread, which
    // must last as long as the watch, each time the message arrives and before the key is
    // read again, and after the window's own changes: a change made before it is not told.
    // False when the key is not watched: the message then comes after kRetry.
    bool Rearm();
    // Whether a message comes from the arming in force, not one that a Rearm replaced.
    bool IsCurrent(WPARAM arming) const { return m_arming && arming == m_arming->number; }

private:
    static void CALLBACK Signalled(void* arming, BOOLEAN timedOut);
    static void EndWait(HANDLE wait) { ::UnregisterWaitEx(wait, INVALID_HANDLE_VALUE); }

    // One notification: the key it watches, the event it sets and the wait on that event.
    // Each arming has its own, because closing a watched key sets its event; one is
    // replaced whole, so that its wait ends before the key and event it waits on, and ends
    // the retries of a post in progress first.
    struct Arming {
        ~Arming()
        {
            if (ending)
                ::SetEvent(ending.get());
        }

        HWND window;
        UINT message;
        WPARAM number;
        bool watching = false;  // the key's changes set the event
        UniqueFile event{};
        UniqueFile ending{};
        UniqueKey key{};
        UniqueHandle<HANDLE, EndWait> wait{};
    };
    static bool StartWaiting(Arming& arming);

    HKEY m_root;
    CString m_parent;
    HWND m_window;
    UINT m_message;
    WPARAM m_armings = 0;
    bool m_posting = false;
    std::unique_ptr<Arming> m_arming;
};
