// The owner of every handle: whichever owner holds a handle last releases it, once.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/win32/UniqueHandle.h"

namespace {

std::vector<int> released;

void Record(int handle)
{
    released.push_back(handle);
}

using Counted = UniqueHandle<int, Record>;

}  // namespace

TEST(UniqueHandle, ReleasesEveryHandleOnceWhereverItMoves)
{
    released.clear();
    {
        Counted first(1);
        Counted second(std::move(first));
        EXPECT_FALSE(first);
        Counted third(3);
        third = std::move(second);
        EXPECT_EQ(released, std::vector<int>{3});
        third.reset(4);
        *third.put() = 5;
        EXPECT_EQ(released, (std::vector<int>{3, 1, 4}));
        EXPECT_EQ(Counted(6).release(), 6);
        const Counted none;
    }
    EXPECT_EQ(released, (std::vector<int>{3, 1, 4, 5}));
}
