// The window's model beside other programs: files checked away from the window's thread,
// the key read again after another program's change.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "LinkModelTest.h"

namespace {

using namespace std::chrono_literals;

// Files that answer only once opened: a share that does not answer until it does.
class GatedFiles : public FakeFiles {
public:
    bool IsFile(const CString& path) override
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_open; });
        return FakeFiles::IsFile(path);
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
    bool m_open = false;
};

// Counts the checker's calls, which arrive on its own thread.
class Readiness {
public:
    std::function<void()> Callback()
    {
        return [this] {
            {
                const std::lock_guard lock(m_mutex);
                ++m_calls;
            }
            m_changed.notify_all();
        };
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
