#include "platform/win32/AccessibleItems.h"

#include <objbase.h>
#include <oleacc.h>

namespace {

// Spelled out: the one in MinGW's oleacc import library has been seen to be wrong, and the
// call that used it failed with E_NOINTERFACE.
constexpr IID kIAccessible{0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

// The item of a child id; -1 for the control itself or an id of no item.
long ItemOf(const VARIANT& child, long count)
{
    if (child.vt != VT_I4 || child.lVal < 1 || child.lVal > count)
        return -1;
    return child.lVal - 1;
}

bool IsSelf(const VARIANT& child)
{
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

void SetChild(VARIANT* out, long item)
{
    out->vt = VT_I4;
    out->lVal = item + 1;
}

}  // namespace

// One reference is the owner's; each reader that asked holds others, through COM.
class AccessibleItems::Object final : public IAccessible {
public:
    Object(HWND control, const ItemSource& source, long itemRole, IAccessible* standard)
        : m_control(control), m_source(&source), m_itemRole(itemRole), m_standard(standard)
    {
    }

    void Disconnect() { m_source = nullptr; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (out == nullptr)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kIAccessible) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_references)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = ::InterlockedDecrement(&m_references);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    // IDispatch: readers use the IAccessible methods themselves.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    // IAccessible: the items answered here, the control itself by the standard object.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override
    {
        return Live() ? m_standard->get_accParent(parent) : Gone();
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override
    {
        if (!Live())
            return Gone();
        *count = m_source->ItemCount();
        return S_OK;
    }
    // Items are simple elements, answered by child id, not objects of their own.
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override
    {
        *out = nullptr;
        if (!Live())
            return Gone();
        return Item(child) >= 0 ? S_FALSE : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        *name = nullptr;
        if (!Live())
            return Gone();
        if (IsSelf(child))
            return m_standard->get_accName(child, name);
        const long item = Item(child);
        if (item < 0)
            return E_INVALIDARG;
        const std::u16string text = m_source->ItemName(item);
        *name = ::SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
        return *name != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        return ForSelf(child, value, [&] { return m_standard->get_accValue(child, value); });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override
    {
        return ForSelf(child, text, [&] { return m_standard->get_accDescription(child, text); });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        if (!Live())
            return Gone();
        if (IsSelf(child))
            return m_standard->get_accRole(child, role);
        if (Item(child) < 0)
            return E_INVALIDARG;
        role->vt = VT_I4;
        role->lVal = m_itemRole;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        if (!Live())
            return Gone();
        if (IsSelf(child))
            return m_standard->get_accState(child, state);
        const long item = Item(child);
        if (item < 0)
            return E_INVALIDARG;
        long flags = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
        if (item == m_source->SelectedItem())
            flags |= STATE_SYSTEM_SELECTED | (HasFocus() ? STATE_SYSTEM_FOCUSED : 0);
        state->vt = VT_I4;
        state->lVal = flags;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override
    {
        return ForSelf(child, help, [&] { return m_standard->get_accHelp(child, help); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override
    {
        return ForSelf(child, file, [&] { return m_standard->get_accHelpTopic(file, child, topic); });
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        return ForSelf(child, shortcut, [&] { return m_standard->get_accKeyboardShortcut(child, shortcut); });
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override
    {
        if (!Live())
            return Gone();
        const long selected = m_source->SelectedItem();
        if (!HasFocus() || selected < 0)
            return m_standard->get_accFocus(focus);
        SetChild(focus, selected);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override
    {
        if (!Live())
            return Gone();
        const long selected = m_source->SelectedItem();
        if (selected < 0) {
            selection->vt = VT_EMPTY;
            return S_FALSE;
        }
        SetChild(selection, selected);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        return ForSelf(child, action, [&] { return m_standard->get_accDefaultAction(child, action); });
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override
    {
        if (!Live())
            return Gone();
        return IsSelf(child) ? m_standard->accSelect(flags, child) : DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* width, long* height, VARIANT child) override
    {
        if (!Live())
            return Gone();
        if (IsSelf(child))
            return m_standard->accLocation(x, y, width, height, child);
        const long item = Item(child);
        if (item < 0)
            return E_INVALIDARG;
        RECT rect = m_source->ItemRect(item);
        ::MapWindowPoints(m_control, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        *x = rect.left;
        *y = rect.top;
        *width = rect.right - rect.left;
        *height = rect.bottom - rect.top;
        return S_OK;
    }
    // From the control, to its first or last item; from an item, to the one before or after.
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override
    {
        if (!Live())
            return Gone();
        end->vt = VT_EMPTY;
        const long count = m_source->ItemCount();
        long to = -1;
        if (IsSelf(start)) {
            if (direction != NAVDIR_FIRSTCHILD && direction != NAVDIR_LASTCHILD)
                return m_standard->accNavigate(direction, start, end);
            to = direction == NAVDIR_FIRSTCHILD ? 0 : count - 1;
        } else {
            const long item = Item(start);
            if (item < 0)
                return E_INVALIDARG;
            if (direction == NAVDIR_NEXT)
                to = item + 1;
            else if (direction == NAVDIR_PREVIOUS)
                to = item - 1;
        }
        if (to < 0 || to >= count)
            return S_FALSE;
        SetChild(end, to);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override
    {
        return Live() ? m_standard->accHitTest(x, y, child) : Gone();
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        if (!Live())
            return Gone();
        return IsSelf(child) ? m_standard->accDoDefaultAction(child) : DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~Object() { m_standard->Release(); }

    bool Live() const { return m_source != nullptr && ::IsWindow(m_control); }
    static HRESULT Gone() { return RPC_E_DISCONNECTED; }
    long Item(const VARIANT& child) const { return ItemOf(child, m_source->ItemCount()); }
    bool HasFocus() const { return ::GetFocus() == m_control; }

    // A text that only the control itself has; an item has none.
    template <class Ask>
    HRESULT ForSelf(const VARIANT& child, BSTR* out, Ask ask)
    {
        *out = nullptr;
        if (!Live())
            return Gone();
        if (IsSelf(child))
            return ask();
        return Item(child) >= 0 ? S_FALSE : E_INVALIDARG;
    }

    LONG m_references = 1;
    HWND m_control;
    const ItemSource* m_source;
    long m_itemRole;
    IAccessible* m_standard;
};

AccessibleItems::AccessibleItems(HWND control, const ItemSource& source, long itemRole)
    : m_control(control), m_source(source), m_itemRole(itemRole)
{
    // The control's own procedure is called straight for every other message. The common
    // controls' subclassing finds itself in a window property at each message, which Wine
    // keeps in its server: 60 ms more for each reload of 500 rows.
    ::SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_controlProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlProc)));
}

AccessibleItems::~AccessibleItems()
{
    Detach();
    if (m_comStarted)
        ::CoUninitialize();
}

// Made when a reader first asks, so that COM costs nothing to a user who runs none. The
// window's thread answers readers' calls: a single-threaded apartment, whose calls arrive
// as messages that the dialog's own loop dispatches.
IAccessible* AccessibleItems::Answerer()
{
    if (m_object != nullptr)
        return m_object;
    if (!m_comStarted)
        m_comStarted = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    void* standard = nullptr;
    if (FAILED(::CreateStdAccessibleObject(m_control, OBJID_CLIENT, kIAccessible, &standard)))
        return nullptr;
    m_object = new Object(m_control, m_source, m_itemRole, static_cast<IAccessible*>(standard));
    return m_object;
}

void AccessibleItems::Detach()
{
    if (m_controlProc != nullptr) {
        ::SetWindowLongPtrA(m_control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_controlProc));
        ::SetWindowLongPtrA(m_control, GWLP_USERDATA, 0);
        m_controlProc = nullptr;
    }
    if (m_object == nullptr)
        return;
    m_object->Disconnect();
    ::CoDisconnectObject(m_object, 0);
    m_object->Release();
    m_object = nullptr;
}

void AccessibleItems::NotifySelected() const
{
    const long selected = m_source.SelectedItem();
    if (selected < 0)
        return;
    if (::GetFocus() == m_control)
        ::NotifyWinEvent(EVENT_OBJECT_FOCUS, m_control, OBJID_CLIENT, selected + 1);
    ::NotifyWinEvent(EVENT_OBJECT_SELECTION, m_control, OBJID_CLIENT, selected + 1);
}

LRESULT CALLBACK AccessibleItems::ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* items = reinterpret_cast<AccessibleItems*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    const WNDPROC controlProc = items->m_controlProc;
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        if (IAccessible* object = items->Answerer())
            return ::LresultFromObject(kIAccessible, wParam, object);
    }
    if (message == WM_NCDESTROY)
        items->Detach();
    return ::CallWindowProcA(controlProc, window, message, wParam, lParam);
}
