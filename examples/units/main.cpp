// Runs the counter of the composed product line; "tracing" as the first
// argument stacks the tracing unit on the base unit.
#include "Counter.h"
#include "Setup.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    bool tracing = argc > 1 && std::strcmp(argv[1], "tracing") == 0;
    Feature* layer = Setup::Build(tracing);
    units& spl = static_cast<units&>(*layer);
    Counter* counter = spl.New_Counter();
    counter->add(3);
    counter->add(4);
    counter->add(5);
    std::printf("total %d\n", counter->value());
    return 0;
}
