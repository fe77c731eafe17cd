// Tells a window when a key under HKEY_CURRENT_USER may have changed: a value added,
// changed or deleted, or the key deleted or made again, by this program or another.
#pragma once

#include <windows.h>

#include <memory>

#include "platform/Strings.h"
#include "platform/win32/UniqueHandle.h"

class RegistryWatch {
public:
    // Watches the key above `subkey` and all below it, so that the key's own deletion and
    // making are seen too; `message` is posted to `window` once per arming.
    RegistryWatch(const char* parent, HWND window, UINT message);

    // Watches again from now on. Call it on the window's thread, which must last as long
    // as the watch, each time the message arrives and before the key is read again.
    void Rearm();

private:
    static void CALLBACK Signalled(void* watch, BOOLEAN timedOut);
    static void EndWait(HANDLE wait) { ::UnregisterWaitEx(wait, INVALID_HANDLE_VALUE); }

    // One notification: the key it watches, the event it sets and the wait on that event.
    // Each arming has its own, because closing a watched key sets its event; one is
    // replaced whole, so that its wait ends before the key and event it waits on.
    struct Arming {
        UniqueFile event;
        UniqueKey key;
        UniqueHandle<HANDLE, EndWait> wait;
    };

    CString m_parent;
    HWND m_window;
    UINT m_message;
    std::unique_ptr<Arming> m_arming;
};
