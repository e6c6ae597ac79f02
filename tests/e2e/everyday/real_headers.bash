# Class modules written like real system headers.

# A static assertion and an enumerator with `) ?:`, bit-fields named by a
# macro call, a braced temporary among the base arguments, and a method
# whose head each conditional branch writes with its own `{`: the refining
# layer's method calls the first branch's.
row_real_header_shapes() {
    module base/Gauge.h <<'EOF2'
#include <iostream>

#define GAUGE_FIELD(name) name
template <int N> struct GaugeBase { int base() const { return N; } };

class Gauge : public GaugeBase<int{3}> {
public:
    static_assert(sizeof(int) >= 2 ? true : false, "int too small");
    struct Limits { enum { Max = (sizeof(long) >= 4) ? 7 : 5 }; };
    unsigned GAUGE_FIELD(flag) : 1;
    unsigned GAUGE_FIELD(mode) : 2;
    Gauge() : flag(1), mode(2) {}
#ifndef GAUGE_QUIET
    int read() const {
        std::cout << "base read\n";
#else
    int read() const {
#endif
        return Limits::Max + base() + static_cast<int>(flag + mode);
    }
};
EOF2
    module ext/Gauge.h <<'EOF2'
refines class Gauge {
public:
    int read() const { return super::read() * 10; }
};
EOF2
    program real_header_shapes 'base read
130' <<'EOF2'
#include "Gauge.h"
int main()
{
    Gauge g;
    std::cout << g.read() << "\n";
    return 0;
}
EOF2
}
