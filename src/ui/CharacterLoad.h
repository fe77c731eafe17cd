// A linked file's characters read, and the file loaded for this process, away from the
// window's thread: a file on a share that stopped answering since its check then holds up
// only the load's own thread, which the character view abandons when it closes.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/win32/PrivateFont.h"

class CharacterLoad {
public:
    // The em sizes of the fonts made from the file.
    struct Sizes {
        int cells;
        int large;
    };
    // What the view shows: the file's EUDC characters, the file loaded, and its fonts.
    struct Loaded {
        std::vector<char32_t> characters;
        std::unique_ptr<PrivateFont> font;
        GdiObject<HFONT> cells;
        GdiObject<HFONT> large;

        bool IsReadable() const { return cells && large; }
    };

    // How long a loaded file waits before its message, which the window's full queue
    // refused, is posted again.
    static constexpr DWORD kPostRetry = 250;  // ms

    // Starts reading the font file `path` (a full path in the code page of `rules`) through
    // `files`, which must last until the process ends, and posts `message` to `window` once
    // it is read and loaded, or found unreadable.
    CharacterLoad(Files& files, const CodePageRules& rules, const CString& path, Sizes sizes, HWND window,
                  UINT message);
    // Abandons a load in progress, without waiting: its thread unloads what it loaded once
    // the file answers.
    ~CharacterLoad();
    CharacterLoad(const CharacterLoad&) = delete;
    CharacterLoad& operator=(const CharacterLoad&) = delete;

    // What was loaded, once the message has come; nothing before.
    std::optional<Loaded> Take();

private:
    // What the loading thread shares with the view; the thread keeps it alive.
    struct Shared {
        std::mutex mutex;
        std::condition_variable abandon;
        std::optional<Loaded> loaded;
        bool abandoned = false;
    };
    static void Load(Shared& shared, Files& files, const CodePageRules& rules, const CString& path, Sizes sizes,
                     HWND window, UINT message);

    std::shared_ptr<Shared> m_shared;
};
