#include "base/System.h"

#include <sys/time.h>
#include <unistd.h>

PrintStream System::out;

long long System::currentTimeMillis()
{
    timeval now;
    gettimeofday(&now, nullptr);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_usec / 1000;
}

void System::sleep(unsigned long milliseconds)
{
    usleep(static_cast<useconds_t>(milliseconds * 1000));
}
