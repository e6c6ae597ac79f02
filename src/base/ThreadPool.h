// Runs independent jobs on the machine's cores. The number of threads is the
// hardware's unless the environment variable MOSA_THREADS sets it; with 1
// every job runs on the calling thread, in order.
#pragma once

#include <cstddef>
#include <functional>

class ThreadPool {
public:
    // At least 1.
    static unsigned GetThreadCount();

    // Calls job(item) once for every item below count and returns when all
    // are done.
    static void ForEach(size_t count, std::function<void(size_t item)> const& job);
};
