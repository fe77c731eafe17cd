#include "model/LinkChecker.h"

#include <thread>
#include <utility>

LinkChecker::LinkChecker(Files& files, std::function<bool()> wake)
    : m_shared(std::make_shared<Shared>(files, std::move(wake)))
{
    std::thread([shared = m_shared] { CheckUntilStopped(*shared); }).detach();
}

LinkChecker::~LinkChecker()
{
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->stopping = true;
        m_shared->waiting.clear();
        m_shared->ready.clear();
    }
    m_shared->changed.notify_one();
}

void LinkChecker::Check(std::vector<CString> files)
{
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->waiting.assign(std::make_move_iterator(files.begin()), std::make_move_iterator(files.end()));
    }
    m_shared->changed.notify_one();
}

std::vector<LinkChecker::Result> LinkChecker::TakeResults()
{
    const std::lock_guard lock(m_shared->mutex);
    m_shared->woken = false;
    return std::exchange(m_shared->ready, {});
}

// The owner is woken once for all the results that wait for it; a wake that failed is
// tried again with the next result, or after a while when none comes.
void LinkChecker::CheckUntilStopped(Shared& shared)
{
    const auto due = [&shared] { return shared.stopping || !shared.waiting.empty(); };
    std::unique_lock lock(shared.mutex);
    for (;;) {
        if (!shared.ready.empty() && !shared.woken) {
            shared.woken = true;
            lock.unlock();
            const bool woken = shared.wake();
            lock.lock();
            // Results taken meanwhile leave it false: the next ones wake the owner again.
            shared.woken = shared.woken && woken;
        }
        if (!shared.ready.empty() && !shared.woken)
            shared.changed.wait_for(lock, kWakeRetry, due);
        else
            shared.changed.wait(lock, due);
        if (shared.stopping)
            return;
        if (shared.waiting.empty())
            continue;
        const CString file = std::move(shared.waiting.front());
        shared.waiting.pop_front();
        lock.unlock();
        const FontFileCheck check = CheckFontFile(shared.files, file);
        lock.lock();
        if (shared.stopping)
            return;
        shared.ready.push_back({file, check});
    }
}
