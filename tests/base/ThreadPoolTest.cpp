#include "base/ThreadPool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace {

TEST(ThreadPool, RunsEveryItemOnce)
{
    EXPECT_GE(ThreadPool::GetThreadCount(), 1u);
    for (size_t count : {size_t(0), size_t(1), size_t(5000)}) {
        std::vector<std::atomic<int>> runs(count);
        ThreadPool::ForEach(count, [&](size_t i) { runs[i].fetch_add(1); });
        for (size_t i = 0; i < count; ++i)
            ASSERT_EQ(1, runs[i].load()) << "item " << i << " of " << count;
    }
}

} // namespace
