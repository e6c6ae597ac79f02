#!/bin/bash
# Classes composed per binding unit: the layers base, "ext bindingunit
# extunit" and "trace dynamicload" refine each row's class, so every class
# becomes one class per unit joined by its interface. The rows form one
# product line, which must compose without messages on the console; the
# output must compile with -Wall -Wextra -Werror against the runtime headers
# of examples/units, and every row's program, run on the full stack of
# units, must print what the layers say.
# Usage: dynamic_rows.sh <mosa++> <fixtures-dir>
#        ROWS="row ..." dynamic_rows.sh ... checks only the given rows.
set -u
WORK=$(cd "$(mktemp -d)" && pwd -P)
trap 'rm -rf "$WORK"' EXIT
TOOL=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
RUNTIME=$(cd "$2/../../examples/units/runtime" && pwd)
LAYERS="base ext trace"
. "$(dirname "$0")/lib/rows.bash"
FLAGS="-std=c++17 -Wall -Wextra -Werror"

# Builds the stack of all three units the way examples/units/main.cpp does;
# every program starts with it.
row_setup() {
    module base/Setup.h <<'EOF2'
#include "Feature.h"

// The product line with every unit loaded, the trace unit on top.
class Setup {
public:
    static dyn& Build()
    {
        Feature* layer = PlCreate::CreateLayer("base");
        Feature* ext = PlCreate::CreateLayer("extunit");
        ext->SetSuperLayer(layer);
        Feature* top = PlCreate::CreateLayer("trace");
        top->SetSuperLayer(ext);
        return static_cast<dyn&>(*top);
    }
};
EOF2
}

# A static data member defined after the class belongs to the unit's class.
row_statics() {
    module base/Counted.h <<'EOF2'
#include "Class.h"

class Counted {
public:
    Counted() { ++s_made; }
    virtual ~Counted() {}
    int made() const { return s_made; }
    static int s_made;
};

int Counted::s_made = 0;
EOF2
    module ext/Counted.h <<'EOF2'
refines class Counted {
public:
    int made() const { return super::made() * 10 + s_bonus; }
    static int s_bonus;
};

int Counted::s_bonus = 5;
EOF2
    module trace/Counted.h <<'EOF2'
#include <cstdio>
refines class Counted {
public:
    int made() const { std::printf("made\n"); return super::made(); }
};
EOF2
    program statics 'made
15' <<'EOF2'
#include "Counted.h"
#include "Setup.h"
#include <cstdio>
int main()
{
    Counted* c = Setup::Build().New_Counted();
    std::printf("%d\n", c->made());
    return 0;
}
EOF2
}

# A call through the interface relies on the default argument; a default
# that names a member of the class cannot stand in the interface.
row_defaults() {
    module base/Labeler.h <<'EOF2'
#include "Class.h"
#include <string>

class Labeler {
public:
    virtual ~Labeler() {}
    std::string label(const std::string& s, int n = 3) { return s + std::to_string(n); }
    int scaled(int k = 2, int by = unit()) { return k * by; }
    static int unit() { return 10; }
};
EOF2
    module ext/Labeler.h <<'EOF2'
refines class Labeler {
public:
    std::string label(const std::string& s, int n) { return "<" + super::label(s, n) + ">"; }
};
EOF2
    module trace/Labeler.h <<'EOF2'
refines class Labeler {
public:
    int scaled(int k, int by) { return super::scaled(k, by) + 1; }
};
EOF2
    program defaults '<x3> <y7> 31' <<'EOF2'
#include "Labeler.h"
#include "Setup.h"
#include <cstdio>
int main()
{
    Labeler* l = Setup::Build().New_Labeler();
    std::printf("%s %s %d\n", l->label("x").c_str(), l->label("y", 7).c_str(), l->scaled(3, 10));
    return 0;
}
EOF2
}

# Types declared inside the class: the interface declares them, so that its
# methods, the units' classes and the program can name them.
row_nested() {
    module base/Gauge.h <<'EOF2'
#include "Class.h"

class Gauge {
public:
    enum class Mode { Low, High };
    using Level = int;
    struct Reading {
        Level level;
        Mode mode;
    };
    virtual ~Gauge() {}
    Reading read(Level l) const { return Reading{scale(l), l > 5 ? Mode::High : Mode::Low}; }
private:
    // A private type stays usable in the unit's class.
    typedef long Wide;
    Level scale(Level l) const { return static_cast<Level>(Wide(l) * 2); }
};
EOF2
    module ext/Gauge.h <<'EOF2'
refines class Gauge {
public:
    Reading read(Level l) const
    {
        Reading r = super::read(l);
        r.level += 1;
        return r;
    }
};
EOF2
    module trace/Gauge.h <<'EOF2'
refines class Gauge {
public:
    Mode mode(Level l) const { return read(l).mode; }
};
EOF2
    program nested '13 high' <<'EOF2'
#include "Gauge.h"
#include "Setup.h"
#include <cstdio>
int main()
{
    Gauge* g = Setup::Build().New_Gauge();
    Gauge::Reading r = g->read(6);
    std::printf("%d %s\n", r.level, g->mode(6) == Gauge::Mode::High ? "high" : "low");
    return 0;
}
EOF2
}

# A class inside a namespace: its interface, decorator and unit classes stay
# in it, and the layer classes name it qualified.
row_spaced() {
    module base/Placed.h <<'EOF2'
#include "Class.h"

namespace geo::flat {
class Placed {
public:
    virtual ~Placed() {}
    int where() const { return 1; }
    static int limit(int n) { return n + 1; }
};
}
EOF2
    module ext/Placed.h <<'EOF2'
namespace geo::flat {
refines class Placed {
public:
    int where() const { return super::where() + 10; }
};
}
EOF2
    module trace/Placed.h <<'EOF2'
namespace geo::flat {
refines class Placed {
public:
    int where() const { return super::where() + 100; }
};
}
EOF2
    program spaced '111 5' <<'EOF2'
#include "Placed.h"
#include "Setup.h"
#include <cstdio>
int main()
{
    dyn& spl = Setup::Build();
    geo::flat::Placed* p = spl.New_Placed();
    std::printf("%d %d\n", p->where(), geo::flat::Placed::limit(spl, 4));
    return 0;
}
EOF2
}

# A static method goes through the layer objects; no generated code
# follows a null decorator or object below.
row_nullsafe() {
    module base/Limits.h <<'EOF2'
#include "Class.h"

class Limits {
public:
    virtual ~Limits() {}
    static int top(int n) { return n * 2; }
    int twice(int n) { return top(n); }
};
EOF2
    module ext/Limits.h <<'EOF2'
refines class Limits {
public:
    int twice(int n) { return super::twice(n) + 1; }
};
EOF2
    module trace/Limits.h <<'EOF2'
refines class Limits {
public:
    int twice(int n) { return super::twice(n) + 100; }
};
EOF2
    program nullsafe '12 107' <<'EOF2'
#include "Limits.h"
#include "Setup.h"
#include <cstdio>
int main()
{
    dyn& spl = Setup::Build();
    Limits* l = spl.New_Limits();
    std::printf("%d %d\n", Limits::top(spl, 6), l->twice(3));
    return 0;
}
EOF2
}
check_nullsafe() { # out
    # Only the form that tests the pointer first may call through it.
    if grep -nP '(?<!\? )(GetSuperDecorator|GetSuper_\w+)\(\)->' "$1"/*.h "$1"/*.cpp; then
        echo "a decorator is used without a check"
        return 1
    fi
}

# Unused constructor parameters of the generated code give no warnings.
row_quiet() {
    module base/Plain.h <<'EOF2'
#include "Class.h"

class Plain {
public:
    Plain() {}
    virtual ~Plain() {}
    int value() const { return 4; }
};
EOF2
    module trace/Plain.h <<'EOF2'
refines class Plain {
public:
    int value() const { return super::value() + 1; }
};
EOF2
    program quiet '5' <<'EOF2'
#include "Plain.h"
#include "Setup.h"
#include <cstdio>
int main()
{
    std::printf("%d\n", Setup::Build().New_Plain()->value());
    return 0;
}
EOF2
}

# A defaulted constructor of a unit's class, and methods with unnamed
# parameters, which the interface names to pass them on.
row_shapes() {
    module base/Shape.h <<'EOF2'
#include "Class.h"

class Shape {
public:
    Shape() = default;
    virtual ~Shape() {}
    void add(int) { ++m_v; }
    int value() const { return m_v; }
private:
    int m_v = 40;
};
EOF2
    module ext/Shape.h <<'EOF2'
refines class Shape {
public:
    void add(int n) { super::add(n); super::add(n); }
    void note(int, const char* t) { m_text = t; }
    const char* text() const { return m_text; }
private:
    const char* m_text = "";
};
EOF2
    module trace/Shape.h <<'EOF2'
#include <cstdio>
refines class Shape {
public:
    void add(int n) { std::printf("add %d\n", n); super::add(n); }
};
EOF2
    program shapes 'add 7
42 hi' <<'EOF2'
#include "Setup.h"
#include "Shape.h"
#include <cstdio>
int main()
{
    Shape* s = Setup::Build().New_Shape();
    s->add(7);
    s->note(1, "hi");
    std::printf("%d %s\n", s->value(), s->text());
    return 0;
}
EOF2
}

ALL_ROWS=$(declare -F | sed -n 's/^declare -f row_//p' | sort)
CHECKED=$(echo ${ROWS:-$ALL_ROWS})
case " $CHECKED " in *" setup "*) ;; *) CHECKED="setup $CHECKED" ;; esac

CASE=compose
DIR=$WORK/line
write_rows "$DIR" $CHECKED
printf 'base\next bindingunit extunit\ntrace dynamicload\n' >"$DIR/dyn.equation"
touch -d '-10 seconds' "$DIR/dyn.equation"
(cd "$DIR" && "$TOOL" -o="$DIR/out" dyn.equation >"$DIR/console" 2>&1)
RC=$?
if [ "$RC" = 0 ]; then pass; else fail "exit code $RC"; fi
# The interface's making goes to the log, not to the console.
if grep -q 'info:\|warning\|error' "$DIR/console"; then fail "messages:"; grep 'info:\|warning\|error' "$DIR/console"; else pass; fi

# Every composed header and source compiles on its own.
CASE=folder
for f in "$DIR"/out/*.h "$DIR"/out/*.cpp; do
    if g++ $FLAGS -fsyntax-only -I"$DIR/out" -I"$RUNTIME" -x c++ "$f" 2>"$WORK/gxx"; then
        pass
    else
        fail "$(basename "$f") does not compile:"$'\n'"$(head -20 "$WORK/gxx")"
    fi
done

SOURCES=$(find "$DIR/out" -name '*.cpp' | sort)
for row in $CHECKED; do
    CASE=$row
    [ -f "$DIR/main_$row.cpp" ] || continue
    # The programs run under AddressSanitizer: no generated code reads
    # freed or null memory. (They keep their product line to the end; the
    # chain's deletion is checked for leaks by dynamic_chain.sh.)
    if ! g++ $FLAGS -g -fsanitize=address,undefined -I"$DIR/out" -I"$RUNTIME" "$DIR/main_$row.cpp" $SOURCES \
        -o "$DIR/prog_$row" 2>"$DIR/gcc_$row"; then
        fail "the composed sources do not compile:"$'\n'"$(head -30 "$DIR/gcc_$row")"
        continue
    fi
    if declare -F "check_$row" >/dev/null && ! why=$("check_$row" "$DIR/out"); then
        fail "$why"
        continue
    fi
    got=$(ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=halt_on_error=1 "$DIR/prog_$row" 2>&1)
    if [ "$got" = "$(cat "$DIR/expect_$row")" ]; then
        pass
    else
        fail "program output differs:"$'\n'"$(diff "$DIR/expect_$row" <(printf '%s\n' "$got"))"
    fi
done

echo "dynamic_rows: $PASSES passed, $FAILS failed"
[ "$FAILS" = 0 ]
