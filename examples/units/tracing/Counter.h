#include <cstdio>

// Prints every addition and the value after it.
refines class Counter {
public:
    void add(int n)
    {
        std::printf("add %d\n", n);
        super::add(n);
        report();
    }
    void report() const { std::printf("value %d\n", value()); }
};
