// Process-wide services: the console stream, the clock and sleeping.
#pragma once

#include "base/PrintStream.h"

class System {
public:
    // Milliseconds since the epoch.
    static long long currentTimeMillis();
    static void sleep(unsigned long milliseconds);

    static PrintStream out;
};
