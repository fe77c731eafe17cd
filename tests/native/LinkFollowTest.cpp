// The window's model beside other programs: files checked away from the window's thread,
// the key read again after another program's change.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "LinkModelTest.h"

namespace {

using namespace std::chrono_literals;

// Files that answer only once opened: a share that does not answer until it does, or for
// ten seconds, so that a test that waits for it fails instead of hanging.
class GatedFiles : public FakeFiles {
public:
    bool IsFile(const CString& path) override
    {
        std::unique_lock lock(m_mutex);
        ++m_waiting;
        m_changed.notify_all();
        m_changed.wait_for(lock, 10s, [this] { return m_open; });
        return FakeFiles::IsFile(path);
    }
    // Waits until a check waits for the files.
    bool Waited()
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, 10s, [this] { return m_waiting > 0; });
    }
    void Open() {
        {
            const std::lock_guard lock(m_mutex);
            m_open = true;
        }
        m_changed.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_waiting = 0;
    bool m_open = false;
};

// Counts the checker's calls, which arrive on its own thread; the first `failures` fail, as
// a post to a window whose queue is full does.
class Readiness {
public:
    explicit Readiness(int failures = 0) : m_failures(failures) {}

    std::function<bool()> Callback()
    {
        return [this] {
            {
                const std::lock_guard lock(m_mutex);
                if (++m_attempts <= m_failures)
                    return false;
                ++m_calls;
            }
            m_changed.notify_all();
            return true;
        };
    }
    int Attempts()
    {
        const std::lock_guard lock(m_mutex);
        return m_attempts;
    }
    // Takes the results as the window does, each time it is woken, until every link is
    // checked; the rows whose state changed, in the order they were told.
    std::vector<int> ApplyAll(FontLinks& links)
    {
        std::vector<int> changed;
        const auto unchecked = [&] {
            return std::ranges::any_of(links.Rows(), [](const LinkRow& row) { return row.state == LinkState::Unchecked; });
        };
        for (int seen = 0; unchecked(); ++seen) {
            std::unique_lock lock(m_mutex);
            if (!m_changed.wait_for(lock, 10s, [&] { return m_calls > seen; })) {
                ADD_FAILURE() << "the checks did not end";
                break;
            }
            lock.unlock();
            const std::vector<int> rows = links.ApplyChecks();
            changed.insert(changed.end(), rows.begin(), rows.end());
        }
        return changed;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    const int m_failures;
    int m_attempts = 0;
    int m_calls = 0;
};

class LinkFollowTest : public LinkModelTest {
protected:
    void Link(const char16_t* font, const char* file)
    {
        registry.values.push_back(StringValue(font, file, kBig5.toWide));
    }
};

}  // namespace

TEST_F(LinkFollowTest, FilesAreCheckedAwayFromTheCaller)
{
    GatedFiles gated;
    gated.files = {{"C:\\eudc\\GOOD.TTE", EudcFont()}, {"C:\\eudc\\TEXT.TTE", "not a font"}};
    const LinkPorts slowPorts{registry, libraries, fonts, gated, kBig5};
    FontLinks slow{slowPorts, window};
    Link(u"SystemDefaultEUDCFont", "C:\\eudc\\GOOD.TTE");
    Link(u"Xyz", "C:\\eudc\\GONE.TTE");
    Link(u"AR PL UMing TW", "C:\\eudc\\TEXT.TTE");
    slow.BuildFontList();
    slow.LoadLinks();
    Readiness ready;
    slow.CheckFilesInBackground(ready.Callback());

    // Nothing is known while the files do not answer: every link is taken to work.
    for (const LinkRow& row : slow.Rows())
        EXPECT_EQ(row.state, LinkState::Unchecked) << row.name;
    EXPECT_TRUE(slow.ApplyChecks().empty());

    gated.Open();
    std::vector<int> changed = ready.ApplyAll(slow);
    std::ranges::sort(changed);
    EXPECT_EQ(changed, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(slow.Rows()[0].state, LinkState::Linked);
    EXPECT_EQ(slow.Rows()[0].chars, 4u);
    EXPECT_EQ(slow.Rows()[1].state, LinkState::MissingFile);
    EXPECT_EQ(slow.Rows()[2].state, LinkState::NotAFont);
}

TEST_F(LinkFollowTest, AnotherProgramsChangeIsReadAndTheWindowsOwnIsNotReadTwice)
{
    files.files = {{"C:\\eudc\\GOOD.TTE", EudcFont()}};
    Link(u"Xyz", "C:\\eudc\\GONE.TTE");
    links.LoadLinks();
    Readiness ready;
    links.CheckFilesInBackground(ready.Callback());
    EXPECT_EQ(ready.ApplyAll(links), std::vector<int>{1});

    // The window's own change: its reload already shows it.
    window.selectedRow = 2;
    window.chosenPath = "C:\\eudc\\GOOD.TTE";
    links.LinkSelected();
    EXPECT_FALSE(links.ReloadLinks());

    // Another program's: a broken link keeps its look until its file is checked again.
    registry.values.push_back(StringValue(u"SystemDefaultEUDCFont", "C:\\eudc\\GOOD.TTE", kBig5.toWide));
    ASSERT_TRUE(links.ReloadLinks());
    EXPECT_EQ(LinkOf(0), "C:\\eudc\\GOOD.TTE");
    EXPECT_EQ(Row(1).state, LinkState::MissingFile);
    EXPECT_FALSE(links.ReloadLinks());

    // A deleted key is no links, and is not made again.
    registry.keyExists = false;
    ASSERT_TRUE(links.ReloadLinks());
    for (std::size_t row = 0; row < links.Rows().size(); ++row)
        EXPECT_EQ(LinkOf(row), "(no link)");
    EXPECT_FALSE(registry.keyExists);
}

// The window closes while a check waits on a share that does not answer: the checks stop at
// once, and when the share answers at last, the abandoned check wakes no one and lets go of
// everything it held (the sanitizers see any use of what the window freed).
TEST_F(LinkFollowTest, ACheckThatDoesNotAnswerIsAbandonedNotWaitedFor)
{
    GatedFiles gated;
    gated.files = {{"C:\\eudc\\GOOD.TTE", EudcFont()}};
    const LinkPorts slowPorts{registry, libraries, fonts, gated, kBig5};
    auto slow = std::make_unique<FontLinks>(slowPorts, window);
    Link(u"SystemDefaultEUDCFont", "C:\\eudc\\GOOD.TTE");
    slow->BuildFontList();
    slow->LoadLinks();
    const auto held = std::make_shared<int>(0);  // what the callback holds
    const std::weak_ptr<int> heldByChecker = held;
    slow->CheckFilesInBackground([held] { return ++*held > 0; });
    ASSERT_TRUE(gated.Waited());

    const auto closing = std::chrono::steady_clock::now();
    slow->StopChecks();
    slow.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - closing, 1s) << "the window waited for the check";

    gated.Open();
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (heldByChecker.use_count() > 1 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    EXPECT_EQ(heldByChecker.use_count(), 1) << "the abandoned check still holds its callback";
    EXPECT_EQ(*held, 0) << "the abandoned check woke the window";
}

// A window whose queue is full refuses the wake: the results wait, and it is woken again
// without another result to prompt it.
TEST_F(LinkFollowTest, AWakeThatFailedIsTriedAgain)
{
    files.files = {{"C:\\eudc\\GOOD.TTE", EudcFont()}};
    Link(u"Xyz", "C:\\eudc\\GONE.TTE");
    links.LoadLinks();
    Readiness ready(2);
    links.CheckFilesInBackground(ready.Callback());
    EXPECT_EQ(ready.ApplyAll(links), std::vector<int>{1});
    EXPECT_EQ(Row(1).state, LinkState::MissingFile);
    EXPECT_EQ(ready.Attempts(), 3);
}
