// One owner for every kind of handle: it releases what it holds when it goes out of scope
// or is given another, and it can be moved but not copied.
//
//     const UniqueKey key = OpenKey(...);           // RegCloseKey at the end of the scope
//     const Selection pen = Select(dc, blackPen);   // the context's old pen goes back
#pragma once

#include <windows.h>

#include <utility>

// `Handle` is the value held; a value-initialised Handle means "none". `Release` gives it
// back to the system.
template <class Handle, auto Release>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : m_handle(handle) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    const Handle& get() const { return m_handle; }
    explicit operator bool() const { return !(m_handle == Handle{}); }

    // Gives up ownership without releasing.
    Handle release() { return std::exchange(m_handle, Handle{}); }
    void reset(Handle handle = Handle{})
    {
        if (*this)
            Release(m_handle);
        m_handle = handle;
    }
    // For functions that hand a new handle out through a pointer.
    Handle* put()
    {
        reset();
        return &m_handle;
    }

private:
    Handle m_handle{};
};

using UniqueKey = UniqueHandle<HKEY, ::RegCloseKey>;
using UniqueModule = UniqueHandle<HMODULE, ::FreeLibrary>;
using UniqueIcon = UniqueHandle<HICON, ::DestroyIcon>;
using UniqueFile = UniqueHandle<HANDLE, ::CloseHandle>;  // not for INVALID_HANDLE_VALUE
// A memory context, from CreateCompatibleDC.
using MemoryDC = UniqueHandle<HDC, ::DeleteDC>;
// A pen, brush, font or bitmap.
template <class Object>
using GdiObject = UniqueHandle<Object, ::DeleteObject>;

// The context of a window's client area from GetDC, which ReleaseDC gives back to it.
struct ClientContext {
    HWND window;
    HDC dc;
    bool operator==(const ClientContext&) const = default;
};
inline void ReleaseClientContext(ClientContext context)
{
    ::ReleaseDC(context.window, context.dc);
}
using ClientDC = UniqueHandle<ClientContext, ReleaseClientContext>;
inline ClientDC GetClientDC(HWND window)
{
    return ClientDC({window, ::GetDC(window)});
}

// An object selected into a context: what it replaced goes back when the owner ends.
struct SelectionState {
    HDC dc;
    HGDIOBJ replaced;
    bool operator==(const SelectionState&) const = default;
};
inline void PutBack(SelectionState selection)
{
    ::SelectObject(selection.dc, selection.replaced);
}
using Selection = UniqueHandle<SelectionState, PutBack>;
inline Selection Select(HDC dc, HGDIOBJ object)
{
    return Selection({dc, ::SelectObject(dc, object)});
}
