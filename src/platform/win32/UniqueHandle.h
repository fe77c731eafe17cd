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
// A COM object's reference, released when the owner ends.
template <class Interface>
void ReleaseComObject(Interface* object)
{
    object->Release();
}
template <class Interface>
using ComObject = UniqueHandle<Interface*, ReleaseComObject<Interface>>;
// A memory context, from CreateCompatibleDC.
using MemoryDC = UniqueHandle<HDC, ::DeleteDC>;
// A pen, brush, font or bitmap.
template <class Object>
using GdiObject = UniqueHandle<Object, ::DeleteObject>;

// A drawing context with what giving it back needs: its window for ReleaseDC, or, for
// a selection, the object that the selected one replaced.
template <class Other>
struct ContextWith {
    HDC dc;
    Other other;
    bool operator==(const ContextWith&) const = default;
};

// The context of a window's client area from GetDC.
inline void ReleaseClientContext(ContextWith<HWND> context)
{
    ::ReleaseDC(context.other, context.dc);
}
using ClientDC = UniqueHandle<ContextWith<HWND>, ReleaseClientContext>;
inline ClientDC GetClientDC(HWND window)
{
    return ClientDC({::GetDC(window), window});
}

// An object selected into a context: what it replaced goes back when the owner ends.
// Selections end in the reverse order of their making; to select another object into a
// context, end the first selection (reset) before making the next, because assigning a
// new selection to an old one puts the old one's object back last.
inline void PutBack(ContextWith<HGDIOBJ> selection)
{
    ::SelectObject(selection.dc, selection.other);
}
using Selection = UniqueHandle<ContextWith<HGDIOBJ>, PutBack>;
inline Selection Select(HDC dc, HGDIOBJ object)
{
    return Selection({dc, ::SelectObject(dc, object)});
}
