# Member and function declarations that the parser must read as C++ does.

# A variable after the class with a parenthesized initializer is defined
# once, in the implementation file; a refinement finds the method whose
# parameter is an unnamed function pointer, and one declared with a
# trailing return type, which stays virtual; decltype and elaborated types
# declare members.
row_decl_forms() {
    module base/Barometer.h <<'EOF2'
#include <ctime>
#include <iostream>

class Barometer {
public:
    virtual ~Barometer() {}
    virtual auto scaled(int f) const -> long;
    auto value() const -> int;
    auto twice() const -> decltype(1 + 1) { return value() * 2; }
    int apply(int (*)(int), int v);
    int a = 1, *b = nullptr;
    struct tm t{};
    decltype(0L) big = 5;
};

inline auto Barometer::value() const -> int { return 1; }
inline int Barometer::apply(int (*f)(int), int v) { return f(v); }
inline auto Barometer::scaled(int f) const -> long { return value() * f; }
int baro_readings(3);
EOF2
    module ext/Barometer.h <<'EOF2'
refines class Barometer {
public:
    auto value() const -> int { return super::value() + 10; }
    int apply(int (*f)(int), int v) { return super::apply(f, v) + 100; }
    decltype(0L) more = 7;
    auto scaled(int f) const -> long;
};

auto Barometer::scaled(int f) const -> long { return super::scaled(f) + 1; }
EOF2
    program decl_forms '11 22 102 12 3 0
23 -2' <<'EOF2'
#include "Barometer.h"
int inc(int x) { return x + 1; }
struct Scale : Barometer {
    auto scaled(int f) const -> long override { return -f; }
};
int main()
{
    Barometer g;
    Scale s;
    Barometer const& r = s;
    std::cout << g.value() << " " << g.twice() << " " << g.apply(inc, 1) << " " << g.big + g.more << " "
              << baro_readings << " " << g.t.tm_sec << "\n";
    std::cout << g.scaled(2) << " " << r.scaled(2) << "\n";
    return 0;
}
EOF2
}

# Members of a class in a namespace defined outside it, `void N::C::g()`,
# are the ones a higher layer refines; a function of the namespace defined
# as `N::f` stays beside them.
row_decl_namespace() {
    module base/Pedometer.h <<'EOF2'
#include <iostream>

namespace ped {
class Pedometer {
public:
    void step();
    int m_count = 0;
};
int stride(int v);
}

void ped::Pedometer::step() { m_count += ped::stride(1); }
int ped::stride(int v) { return v * 2; }
EOF2
    module ext/Pedometer.h <<'EOF2'
namespace ped {
refines class Pedometer {
public:
    void step() { super::step(); std::cout << "step " << m_count << "\n"; }
};
}
EOF2
    program decl_namespace 'step 2
step 4' <<'EOF2'
#include "Pedometer.h"
int main()
{
    ped::Pedometer m;
    m.step();
    m.step();
    return 0;
}
EOF2
}

# A partial specialization after the class is no module of it: a
# refinement changes the primary template only, and the specialization's
# member defined outside it stays its own.
row_decl_specialization() {
    module base/Keeper.h <<'EOF2'
#include <iostream>

template <class T>
class Keeper {
public:
    T get() const { return m_v; }
    T m_v{};
};

template <class T>
class Keeper<T*> {
public:
    T get() const { return m_p ? *m_p : T(); }
    void set(T* p);
    T* m_p = nullptr;
};

template <class T>
void Keeper<T*>::set(T* p) { m_p = p; }
EOF2
    module ext/Keeper.h <<'EOF2'
template <class T>
refines class Keeper {
public:
    T get() const { return super::get() + 1; }
};
EOF2
    program decl_specialization '1 5' <<'EOF2'
#include "Keeper.h"
int main()
{
    Keeper<int> k;
    int x = 5;
    Keeper<int*> p;
    p.set(&x);
    std::cout << k.get() << " " << p.get() << "\n";
    return 0;
}
EOF2
}
