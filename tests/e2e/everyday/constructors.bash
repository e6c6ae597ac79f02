# Constructor and destructor chains.

# Each layer's constructor body sees the values the caller passed, also when
# a lower layer's initializers move them away.
row_ctor_moved() {
    module base/Journal.h <<'EOF2'
#include <iostream>
#include <string>
#include <utility>

class Journal {
public:
    Journal(std::string id) : m_id(std::move(id)) {}
    std::string m_id;
};
EOF2
    module ext/Journal.h <<'EOF2'
refines class Journal {
public:
    Journal(std::string id) { std::cout << "ext " << id << "\n"; }
};
EOF2
    program ctor_moved 'ext J-1
J-1' <<'EOF2'
#include "Journal.h"
int main()
{
    Journal a("J-1");
    std::cout << a.m_id << "\n";
    return 0;
}
EOF2
}

# A lower layer's initializers name its own parameters; the refining layer
# names them differently (and one name is also a member function's).
row_ctor_names() {
    module base/Timer.h <<'EOF2'
#include <iostream>
#include <string>

class Timer {
public:
    Timer(std::string label, int start) : m_label(label), m_ticks(start) {}
    std::string label() const { return m_label; }
    std::string m_label;
    int m_ticks;
};
EOF2
    module ext/Timer.h <<'EOF2'
refines class Timer {
public:
    Timer(std::string name, int initial) : m_step(initial + 1) { std::cout << "ext " << name << "\n"; }
    int m_step;
};
EOF2
    module top/Timer.h <<'EOF2'
refines class Timer {
public:
    Timer(std::string start, int label) { std::cout << "top " << start << " " << label << "\n"; }
};
EOF2
    program ctor_names 'ext t
top t 5
t 5 6' <<'EOF2'
#include "Timer.h"
int main()
{
    Timer t("t", 5);
    std::cout << t.label() << " " << t.m_ticks << " " << t.m_step << "\n";
    return 0;
}
EOF2
}

# A polymorphic class whose destructor is refined: deleting through a base
# pointer runs every layer's destructor of the derived class.
row_dtor_virtual() {
    module base/Conn.h <<'EOF2'
#include <iostream>

class Conn {
public:
    virtual ~Conn() {}
    virtual int kind() const { return 0; }
};
EOF2
    module ext/Conn.h <<'EOF2'
refines class Conn {
public:
    ~Conn() { std::cout << "ext ~Conn\n"; }
};
EOF2
    module base/Tcp.h <<'EOF2'
#include <iostream>
#include "Conn.h"

class Tcp : public Conn {
public:
    ~Tcp() { std::cout << "base ~Tcp\n"; }
    int kind() const override { return 1; }
};
EOF2
    module top/Tcp.h <<'EOF2'
refines class Tcp {
public:
    ~Tcp() { std::cout << "top ~Tcp\n"; }
};
EOF2
    program dtor_virtual 'top ~Tcp
base ~Tcp
ext ~Conn' <<'EOF2'
#include "Tcp.h"
int main()
{
    Conn* c = new Tcp();
    delete c;
    return 0;
}
EOF2
}

# explicit, = default, final and noexcept on members that are refined.
row_specifiers() {
    module base/Shape.h <<'EOF2'
class Shape {
public:
    virtual ~Shape() = default;
    virtual int area() const { return 0; }
};
EOF2
    module base/Gate.h <<'EOF2'
#include <iostream>
#include "Shape.h"

class Gate : public Shape {
public:
    Gate() = default;
    explicit Gate(int w) noexcept : m_w(w) {}
    ~Gate() = default;
    int area() const final { return m_w; }
    int scale(int k) const noexcept { return k * m_w; }
    int m_w = 1;
};
EOF2
    module ext/Gate.h <<'EOF2'
refines class Gate {
public:
    Gate() { std::cout << "ext Gate()\n"; }
    Gate(int w) noexcept { std::cout << "ext Gate " << w << "\n"; }
    ~Gate() { std::cout << "ext ~Gate\n"; }
    int area() const { return super::area() * 10; }
    int scale(int k) const { return super::scale(k) + 1; }
};
EOF2
    program specifiers 'ext Gate()
ext Gate 3
30 10 0
ext ~Gate
ext ~Gate' <<'EOF2'
#include "Gate.h"
#include <type_traits>
int main()
{
    Gate a;
    Gate b(3);
    const Shape& s = b;
    std::cout << s.area() << " " << a.area() << " " << std::is_convertible<int, Gate>::value << "\n";
    static_assert(noexcept(b.scale(2)), "scale stays noexcept");
    return 0;
}
EOF2
}

# Overloads that differ only in const or in ref-qualifiers; in-class and
# out-of-class definitions.
row_const_overloads() {
    module base/Book.h <<'EOF2'
#include <iostream>
#include <string>

class Book {
public:
    std::string& find(const std::string& k) { std::cout << "base find " << k << "\n"; return m_v; }
    const std::string& find(const std::string& k) const;
    int size() & { return 1; }
    int size() && { return 2; }
    std::string m_v = "v";
};

inline const std::string& Book::find(const std::string& k) const
{
    std::cout << "base find const " << k << "\n";
    return m_v;
}
EOF2
    module ext/Book.h <<'EOF2'
refines class Book {
public:
    const std::string& find(const std::string& k) const;
    int size() && { return super::size() + 20; }
};

inline const std::string& Book::find(const std::string& k) const
{
    std::cout << "ext find const\n";
    return super::find(k);
}
EOF2
    program const_overloads 'base find k
ext find const
base find const k
v 1 22' <<'EOF2'
#include "Book.h"
int main()
{
    Book b;
    const Book& c = b;
    b.find("k");
    std::string s = c.find("k");
    std::cout << s << " " << b.size() << " " << Book().size() << "\n";
    return 0;
}
EOF2
}

# The default arguments of the lowest declaration stay on the composed
# member.
row_default_args() {
    module base/Clock.h <<'EOF2'
#include <iostream>

class Clock {
public:
    Clock(int start = 7) : m_t(start) {}
    void tick(int n = 1, int k = 2) { m_t += n * k; }
    int m_t;
};
EOF2
    module ext/Clock.h <<'EOF2'
refines class Clock {
public:
    Clock(int start) { std::cout << "ext " << start << "\n"; }
    void tick(int n, int k) { super::tick(n, k); std::cout << "tick " << n << "\n"; }
};
EOF2
    module top/Clock.h <<'EOF2'
refines class Clock {
public:
    void tick(int n, int k);
};

inline void Clock::tick(int n, int k)
{
    super::tick(n, k);
}
EOF2
    program default_args 'ext 7
tick 1
tick 3
9' <<'EOF2'
#include "Clock.h"
int main()
{
    Clock c;
    c.tick();
    c.tick(3, 0);
    std::cout << c.m_t << "\n";
    return 0;
}
EOF2
}

# Composed with line directives: none stands inside a parameter list (a
# line that opens more parentheses than it closes goes on without one),
# where the product-line parameter of a class composed per binding unit or a
# moved default argument would go, and the output still compiles.
case_ctor_line_directives() {
    local dir=$WORK/lines
    write_rows "$dir" ctor_names default_args
    (cd "$dir" && "$TOOL" -o="$dir/out" p.equation >"$dir/console" 2>&1) || { fail "exit code $?"; return; }
    local inside
    inside=$(awk '/^#line/ && open > 0 { print FILENAME ": " last } { n = gsub(/\(/, "("); m = gsub(/\)/, ")"); open = n - m; last = $0 }' \
        "$dir/out/Timer.h" "$dir/out/Clock.h")
    if [ -n "$inside" ]; then
        fail "a line directive inside a parameter list, after:"$'\n'"$inside"
    elif ! g++ -std=c++17 -Wall -Wextra -Werror -I"$dir/out" "$dir/main_ctor_names.cpp" -o "$dir/prog" 2>"$dir/gxx"; then
        fail "the output with line directives does not compile:"$'\n'"$(head -20 "$dir/gxx")"
    else
        pass
    fi
}

# A constructor chain passes rvalue reference parameters on as rvalues.
row_ctor_rvalue() {
    module base/Note.h <<'EOF2'
#include <iostream>
#include <string>

class Note {
public:
    Note(std::string&& text, int n) : m_text(text), m_n(n) {}
    std::string m_text;
    int m_n;
};
EOF2
    module ext/Note.h <<'EOF2'
refines class Note {
public:
    Note(std::string&& words, int count) { std::cout << words << " " << count << "\n"; }
};
EOF2
    program ctor_rvalue 'hi 2
hi 2' <<'EOF2'
#include "Note.h"
int main()
{
    Note n(std::string("hi"), 2);
    std::cout << n.m_text << " " << n.m_n << "\n";
    return 0;
}
EOF2
}

# Chains of constructors and destructors defined after the class, and of a
# class template.
row_ctor_outside() {
    module base/Pipe.h <<'EOF2'
#include <iostream>

class Pipe {
public:
    explicit Pipe(int size);
    virtual ~Pipe();
    int m_size;
};

inline Pipe::Pipe(int size) : m_size(size) {}

inline Pipe::~Pipe() { std::cout << "base ~Pipe\n"; }
EOF2
    module ext/Pipe.h <<'EOF2'
refines class Pipe {
public:
    Pipe(int n);
    ~Pipe();
};

inline Pipe::Pipe(int n) { std::cout << "ext Pipe " << n << " " << m_size << "\n"; }

inline Pipe::~Pipe() { std::cout << "ext ~Pipe\n"; }
EOF2
    module base/Cell.h <<'EOF2'
template <class T>
class Cell {
public:
    Cell(T value) : m_value(value) {}
    T m_value;
};
EOF2
    module ext/Cell.h <<'EOF2'
#include <iostream>

template <class T>
refines class Cell {
public:
    Cell(T start) { std::cout << "ext Cell " << start << "\n"; }
};
EOF2
    program ctor_outside 'ext Pipe 4 4
ext Cell 7
7 0
ext ~Pipe
base ~Pipe' <<'EOF2'
#include "Cell.h"
#include "Pipe.h"
#include <type_traits>
int main()
{
    Pipe* p = new Pipe(4);
    Cell<int> c(7);
    std::cout << c.m_value << " " << std::is_convertible<int, Pipe>::value << "\n";
    delete p;
    return 0;
}
EOF2
}
