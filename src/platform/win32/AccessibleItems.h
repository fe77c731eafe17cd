// What a screen reader hears of a control whose items the platform's own accessible object
// does not know (an owner-drawn list, a grid of its own): an IAccessible answered to the
// control's WM_GETOBJECT, with a child for each item, named by the control's owner. What
// it does not answer itself (the control's own name, its place among the windows) the
// platform's standard object for the control answers.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <string>

// The items of one control, as its owner knows them. Items count from 0.
class ItemSource {
public:
    virtual long ItemCount() const = 0;
    virtual std::u16string ItemName(long item) const = 0;
    virtual long SelectedItem() const = 0;       // -1 for none
    virtual RECT ItemRect(long item) const = 0;  // in the control's client coordinates

protected:
    ~ItemSource() = default;
};

class AccessibleItems {
public:
    // Answers for `control`, whose items `source` tells and are of the role `itemRole`
    // (ROLE_SYSTEM_LISTITEM, ...), until the object or the window ends. The control's user
    // data (GWLP_USERDATA) is this object's meanwhile.
    AccessibleItems(HWND control, const ItemSource& source, long itemRole);
    // Readers that still hold the object get errors from then on, never a dead source.
    ~AccessibleItems();
    AccessibleItems(const AccessibleItems&) = delete;
    AccessibleItems& operator=(const AccessibleItems&) = delete;

    // Tells readers that the selection has moved, as a list box tells of its own.
    void NotifySelected() const;

private:
    class Object;

    static LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    IAccessible* Answerer();
    void Detach();

    HWND m_control;
    WNDPROC m_controlProc = nullptr;  // the control's own, while this one answers before it
    const ItemSource& m_source;
    long m_itemRole;
    bool m_comStarted = false;
    Object* m_object = nullptr;  // once a reader has asked
};
