#include "ModalScript.h"

#include <gtest/gtest.h>

#include <utility>

#include "platform/win32/Dialog.h"

namespace {

struct Script {
    const CDialog& dialog;
    std::vector<ScriptStep> steps;
    size_t next = 0;
    int idleTicks = 0;
    int ticksUnshown = 0;
    int ticksShown = 0;
    bool repeat = false;  // the step that ran asks to run again
};

constexpr UINT kTick = 40;  // ms
constexpr int kFiveSeconds = 5000 / kTick;

Script* running = nullptr;

BOOL CALLBACK CancelDialog(HWND window, LPARAM)
{
    if (ClassName(window) == "#32770")
        ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

// A dialog's loop shows the dialog, as a user sees it, the first time it finds nothing to
// do; until then a step's change may be undone (a minimised dialog shown normally
// again). The steps begin at the second tick after the dialog is visible: each tick
// starts the timer anew, so that the loop finds nothing due between two ticks.
bool Ready(Script& script)
{
    if (script.dialog.m_hWnd != nullptr && ::IsWindowVisible(script.dialog.m_hWnd))
        return ++script.ticksShown > 1;
    if (++script.ticksUnshown == kFiveSeconds) {
        ADD_FAILURE() << "waited 5 s for the dialog to be shown";
        ::EnumThreadWindows(::GetCurrentThreadId(), CancelDialog, 0);
    }
    return false;
}

void CALLBACK OnTick(HWND, UINT, UINT_PTR timer, DWORD)
{
    ::SetTimer(nullptr, timer, kTick, OnTick);
    if (running->next == 0 && !Ready(*running))
        return;
    if (running->next < running->steps.size()) {
        const size_t step = running->next++;  // a step may tick again inside itself
        running->steps[step]();
        if (std::exchange(running->repeat, false))
            running->next = step;
    } else if (++running->idleTicks > 10) {
        ::EnumThreadWindows(::GetCurrentThreadId(), CancelDialog, 0);
    }
}

struct OwnedSearch {
    HWND owner;
    bool shownOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectOwned(HWND window, LPARAM search)
{
    auto* s = reinterpret_cast<OwnedSearch*>(search);
    if (::GetWindow(window, GW_OWNER) == s->owner && (!s->shownOnly || ::IsWindowVisible(window)) &&
        ClassName(window) == "#32770")
        s->found.push_back(window);
    return TRUE;
}

}  // namespace

INT_PTR RunModalScript(CDialog& dialog, std::vector<ScriptStep> steps)
{
    Script script{dialog, std::move(steps)};
    running = &script;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, kTick, OnTick);
    const INT_PTR result = dialog.DoModal();
    ::KillTimer(nullptr, timer);
    running = nullptr;
    return result;
}

ScriptStep RepeatUntil(std::string what, std::function<bool()> done)
{
    return [what = std::move(what), done = std::move(done), ticks = 0]() mutable {
        if (done())
            return;
        if (++ticks < kFiveSeconds)
            running->repeat = true;
        else
            ADD_FAILURE() << "waited 5 s for " << what;
    };
}

std::vector<HWND> OwnedDialogs(HWND owner, bool shownOnly)
{
    OwnedSearch search{owner, shownOnly, {}};
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectOwned, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

CString WindowTextA(HWND window)
{
    char text[512] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

std::wstring WindowTextW(HWND window)
{
    wchar_t text[512] = {};
    ::GetWindowTextW(window, text, 512);
    return text;
}

CString ClassName(HWND window)
{
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

void PostKey(HWND window, UINT key)
{
    ::PostMessageA(window, WM_KEYDOWN, key, 1);
    ::PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}
