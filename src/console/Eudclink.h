// What eudclink's commands run with: the same model as the window's, through the same
// platform interfaces, and the exit statuses they end with.
#pragma once

#include "model/LinkPorts.h"
#include "platform/CharacterCharts.h"
#include "platform/Console.h"

// The exit status: what a script tests.
namespace status {
inline constexpr int kDone = 0;
inline constexpr int kRefused = 1;   // nothing was changed, or `check` found a problem
inline constexpr int kUsage = 2;     // the usage text is on standard error
inline constexpr int kRegistry = 3;  // the key could not be read or written
}  // namespace status

// The window's ports, and the console's.
struct Eudclink : LinkPorts {
    Console& console;
    const char* version;
    CharacterCharts* charts = nullptr;  // for `chart`; none where nothing can draw
};
