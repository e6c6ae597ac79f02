#include "base/ThreadPool.h"

#include <atomic>
#include <cstdlib>
#include <thread>
#include <vector>

unsigned ThreadPool::GetThreadCount()
{
    static unsigned const count = [] {
        if (char const* text = getenv("MOSA_THREADS")) {
            char* end = nullptr;
            long n = strtol(text, &end, 10);
            if (end != text && *end == '\0' && n >= 1 && n <= 1024)
                return unsigned(n);
        }
        unsigned cores = std::thread::hardware_concurrency();
        return cores ? cores : 1u;
    }();
    return count;
}

void ThreadPool::ForEach(size_t count, std::function<void(size_t)> const& job)
{
    unsigned threads = GetThreadCount();
    if (threads > count)
        threads = unsigned(count);
    if (threads <= 1) {
        for (size_t i = 0; i < count; ++i)
            job(i);
        return;
    }
    // Items are handed out one at a time: their costs differ widely.
    std::atomic<size_t> next(0);
    auto work = [&] {
        for (size_t i; (i = next.fetch_add(1, std::memory_order_relaxed)) < count;)
            job(i);
    };
    std::vector<std::thread> helpers;
    for (unsigned i = 1; i < threads; ++i)
        helpers.emplace_back(work);
    work();
    for (std::thread& helper : helpers)
        helper.join();
}
