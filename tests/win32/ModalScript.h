// Drives a modal dialog from inside: each step runs on the dialog's own thread, one per
// timer tick, within whichever modal loop is running then (the About box's included).
// Steps act by posting messages, so that each returns before the next one runs.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/Strings.h"

class CDialog;

using ScriptStep = std::function<void()>;

// Runs `dialog` modally while the steps run, from the time the dialog is shown; returns
// DoModal's result. When the steps are done and windows are still open (a failed step),
// they are cancelled, so that a failing test ends instead of hanging.
INT_PTR RunModalScript(CDialog& dialog, std::vector<ScriptStep> steps);

// A step that runs again at each tick until `done` gives true, for five seconds at most,
// after which the test fails, saying that it waited for `what`: for a window that another
// step's message will open in its own time.
ScriptStep RepeatUntil(std::string what, std::function<bool()> done);

// The visible dialog boxes of this thread that `owner` owns, topmost first; with
// `shownOnly` false, also those that a modal loop has created but not shown yet.
std::vector<HWND> OwnedDialogs(HWND owner, bool shownOnly = true);

CString WindowTextA(HWND window);
std::wstring WindowTextW(HWND window);
CString ClassName(HWND window);

// Presses a key in `window`, which should have the focus, as the dialog's loop receives it.
void PostKey(HWND window, UINT key);
