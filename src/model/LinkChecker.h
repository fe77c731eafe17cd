// Checks linked files on a thread of its own, so that a file on a share that does not
// answer holds up neither the first paint nor the user's input, nor the program's end.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "model/LinkRows.h"
#include "platform/Files.h"

class LinkChecker {
public:
    struct Result {
        CString file;
        FontFileCheck check;
    };

    // How long results wait before a wake that failed is tried again, if no other result
    // comes first.
    static constexpr std::chrono::milliseconds kWakeRetry{250};

    // `wake` is called on the checking thread when results are ready that the owner has not
    // been woken for: it should only wake the owner, who then takes them on its own thread,
    // and say whether that worked (a window's queue may be full). `files` must last until
    // the process ends: a check abandoned on a file that does not answer goes on with it
    // once the file answers.
    LinkChecker(Files& files, std::function<bool()> wake);
    // Stops checking at once. A check in progress is abandoned, not waited for: its thread
    // ends when the check returns, if it ever does, without waking the owner.
    ~LinkChecker();
    LinkChecker(const LinkChecker&) = delete;
    LinkChecker& operator=(const LinkChecker&) = delete;

    // Checks these files, in this order, instead of any still waiting.
    void Check(std::vector<CString> files);
    // The results ready since the last call, oldest first.
    std::vector<Result> TakeResults();

private:
    // What the checking thread shares with the owner; the thread keeps it alive, so that an
    // abandoned check touches nothing that the owner has freed.
    struct Shared {
        Shared(Files& files, std::function<bool()> wake) : files(files), wake(std::move(wake)) {}

        Files& files;
        const std::function<bool()> wake;
        std::mutex mutex;
        std::condition_variable changed;
        std::deque<CString> waiting;
        std::vector<Result> ready;
        bool woken = false;  // for the results ready now
        bool stopping = false;
    };
    static void CheckUntilStopped(Shared& shared);

    std::shared_ptr<Shared> m_shared;
};
