#include "model/LinkChecker.h"

#include <utility>

LinkChecker::LinkChecker(Files& files, std::function<void()> checked)
    : m_files(files), m_checked(std::move(checked)), m_thread([this] { CheckUntilStopped(); })
{
}

LinkChecker::~LinkChecker()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_waiting.clear();
    }
    m_wake.notify_one();
    m_thread.join();
}

void LinkChecker::Check(std::vector<CString> files)
{
    {
        const std::lock_guard lock(m_mutex);
        m_waiting.assign(std::make_move_iterator(files.begin()), std::make_move_iterator(files.end()));
    }
    m_wake.notify_one();
}

std::vector<LinkChecker::Result> LinkChecker::TakeResults()
{
    const std::lock_guard lock(m_mutex);
    return std::exchange(m_ready, {});
}

void LinkChecker::CheckUntilStopped()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_waiting.empty(); });
        if (m_stopping)
            return;
        const CString file = std::move(m_waiting.front());
        m_waiting.pop_front();
        lock.unlock();
        const FontFileCheck check = CheckFontFile(m_files, file);
        lock.lock();
        // The owner is woken once for all the results that wait for it.
        const bool wake = m_ready.empty();
        m_ready.push_back({file, check});
        if (wake) {
            lock.unlock();
            m_checked();
            lock.lock();
        }
    }
}
