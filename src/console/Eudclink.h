// What eudclink's commands run with: the same model as the window's, through the same
// platform interfaces, and the exit statuses they end with.
#pragma once

#include "model/FontList.h"
#include "model/LinkKey.h"
#include "model/LinkPorts.h"
#include "platform/CharacterCharts.h"
#include "platform/CodePage.h"
#include "platform/Console.h"
#include "platform/Hashing.h"

// The exit status: what a script tests.
namespace status {
inline constexpr int kDone = 0;
inline constexpr int kRefused = 1;   // nothing was changed, or `check` found a problem
inline constexpr int kUsage = 2;     // what is wrong, then the usage text, on standard error
inline constexpr int kRegistry = 3;  // the key could not be read or written
// unpack copied and linked everything, and a link it wrote cannot work: unlike 1, the
// machine has changed.
inline constexpr int kUnpackedBroken = 4;
}  // namespace status

// The window's ports, and the console's.
struct Eudclink : LinkPorts {
    Console& console;
    const char* version;
    CodePages& codePages;
    Hashing& hashing;
    // The code page whose links the command works on (--codepage): its key, and the
    // character sets of the fonts that can have a link there. The rules of LinkPorts are
    // the system's unless --codepage chose that code page's.
    LinkKeyName key = LinkKeyOf(kLinkCodePage);
    CharSets charSets = kBig5CharSets;
    CharacterCharts* charts = nullptr;  // for `chart`; none where nothing can draw
};
