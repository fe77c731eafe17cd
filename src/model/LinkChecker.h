// Checks linked files on a thread of its own, so that a file on a share that does not
// answer holds up neither the first paint nor the user's input.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "model/LinkRows.h"
#include "platform/Files.h"

class LinkChecker {
public:
    struct Result {
        CString file;
        FontFileCheck check;
    };

    // `checked` is called on the checking thread when a result is ready and none was
    // waiting: it should only wake the owner, who then takes the results on its own thread.
    LinkChecker(Files& files, std::function<void()> checked);
    // Waits for the check in progress, if any; those still waiting are dropped.
    ~LinkChecker();
    LinkChecker(const LinkChecker&) = delete;
    LinkChecker& operator=(const LinkChecker&) = delete;

    // Checks these files, in this order, instead of any still waiting.
    void Check(std::vector<CString> files);
    // The results ready since the last call, oldest first.
    std::vector<Result> TakeResults();

private:
    void CheckUntilStopped();

    Files& m_files;
    std::function<void()> m_checked;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<CString> m_waiting;
    std::vector<Result> m_ready;
    bool m_stopping = false;
    std::thread m_thread;  // last: it starts once everything it uses is made
};
