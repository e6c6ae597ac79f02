#!/bin/bash
# A class composed per binding unit is one object per unit, chained from the
# outermost unit's object down. Deleting the outermost object destroys the
# whole chain: each unit's destructor body runs once, top unit first, and
# the leak checker finds nothing. A unit's code that names a member
# variable of another unit is refused with a message naming it.
# Usage: dynamic_chain.sh <mosa++> <fixtures-dir>
set -u
WORK=$(cd "$(mktemp -d)" && pwd -P)
trap 'rm -rf "$WORK"' EXIT
TOOL=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
RUNTIME=$(cd "$2/../../examples/units/runtime" && pwd)
FAILS=0
PASSES=0
fail() { echo "FAIL [$CASE]: $*"; FAILS=$((FAILS + 1)); }
pass() { PASSES=$((PASSES + 1)); }

line() { # folder: the product line of the chain cases
    mkdir -p "$1/base" "$1/trace"
    cat >"$1/base/Shape.h" <<'EOF2'
#include <cstdio>

class Shape {
public:
    Shape() : m_w(1) {}
    ~Shape() { std::printf("base ~Shape %d\n", m_w); }
    void draw() { std::printf("base draw\n"); }
    int m_w;
};
EOF2
    cat >"$1/trace/Shape.h" <<'EOF2'
refines class Shape {
public:
    ~Shape() { std::printf("trace ~Shape\n"); }
    void draw() { std::printf("trace draw\n"); super::draw(); }
};
EOF2
    cat >"$1/base/Setup.h" <<'EOF2'
#include "Feature.h"

class Setup {
public:
    static Feature* Layer(char const* name) { return PlCreate::CreateLayer(name); }
};
EOF2
    cat >"$1/main.cpp" <<'EOF2'
#include "Setup.h"
#include "Shape.h"

int main(int argc, char**)
{
    Feature* base = Setup::Layer("base");
    Feature* layer = base;
    if (argc > 1) {
        layer = Setup::Layer("trace");
        layer->SetSuperLayer(base);
    }
    Shape* shape = static_cast<pl&>(*layer).New_Shape();
    shape->draw();
    delete shape;
    if (layer != base)
        delete layer;
    delete base;
    return 0;
}
EOF2
    printf 'base\ntrace dynamicload\n' >"$1/pl.equation"
    find "$1" -type f -exec touch -d '-10 seconds' {} +
}

CASE=chain
DIR=$WORK/chain
line "$DIR"
if (cd "$DIR" && "$TOOL" -noline -o="$DIR/out" pl.equation >"$DIR/console" 2>&1); then pass; else fail "exit code $?"; cat "$DIR/console"; fi
if g++ -std=c++17 -g -fsanitize=address -Wall -Wextra -Werror -I"$DIR/out" -I"$RUNTIME" "$DIR/main.cpp" "$DIR"/out/*.cpp \
    -o "$DIR/prog" 2>"$DIR/gxx"; then
    pass
    for args in "" "trace"; do
        expected='base draw
base ~Shape 1'
        [ -n "$args" ] && expected='trace draw
base draw
trace ~Shape
base ~Shape 1'
        got=$(ASAN_OPTIONS=detect_leaks=1 "$DIR/prog" $args 2>&1)
        if [ "$got" = "$expected" ]; then pass; else fail "run '$args' printed:"$'\n'"$got"; fi
    done
else
    fail "the composed line does not compile:"$'\n'"$(head -30 "$DIR/gxx")"
fi

# A unit's code cannot reach a member variable of an object of another unit.
CASE=field_of_other_unit
DIR=$WORK/field
line "$DIR"
cat >"$DIR/trace/Shape.h" <<'EOF2'
refines class Shape {
public:
    Shape() { m_w = 2; }
    void draw() { int m_w = 3; std::printf("%d\n", m_w); super::draw(); }
};
EOF2
touch -d '-10 seconds' "$DIR/trace/Shape.h"
(cd "$DIR" && "$TOOL" -noline -o="$DIR/out" pl.equation >"$DIR/console" 2>&1)
RC=$?
msg="$DIR/trace/Shape.h(3) : error: m_w is a member variable of Shape in another binding unit: code of binding unit trace cannot reach it; give the unit that declares it a method to call"
if [ "$RC" = 1 ] && grep -qF "$msg" "$DIR/console" && [ "$(grep -c 'm_w is a member variable' "$DIR/console")" = 1 ]; then
    pass
else
    fail "exit code $RC, console:"$'\n'"$(cat "$DIR/console")"
fi

# Classes composed in one unit that make a class composed per unit get the
# product line: one without a constructor of its own gets constructors that
# take it, and a constructor of its own keeps the one it is given.
CASE=makers
DIR=$WORK/makers
mkdir -p "$DIR/B" "$DIR/D"
printf 'class P {\npublic:\n    virtual ~P() {}\n    int v() { return 1; }\n};\n' >"$DIR/B/P.h"
printf 'refines class P {\npublic:\n    int v() { return super::v() + 10; }\n};\n' >"$DIR/D/P.h"
printf '#include "P.h"\nclass A {\npublic:\n    P* mk() { return new P(); }\n};\n' >"$DIR/B/A.h"
printf '#include "A.h"\nclass Cr {\npublic:\n    Cr() {}\n    A* make() { return new A(); }\n};\n' >"$DIR/B/Cr.h"
printf '#include "Feature.h"\nclass Setup {\npublic:\n    static Feature* Layer(char const* name) { return PlCreate::CreateLayer(name); }\n};\n' >"$DIR/B/Setup.h"
cat >"$DIR/main.cpp" <<'EOF2'
#include "Cr.h"
#include "Setup.h"
#include <cstdio>

int main()
{
    Feature* base = Setup::Layer("base");
    Feature* top = Setup::Layer("D");
    top->SetSuperLayer(base);
    Cr maker(static_cast<pl&>(*top));
    A* a = maker.make();
    P* p = a->mk();
    std::printf("%d\n", p->v());
    delete p;
    delete a;
    delete top;
    delete base;
    return 0;
}
EOF2
printf 'B\nD dynamicload\n' >"$DIR/pl.equation"
find "$DIR" -type f -exec touch -d '-10 seconds' {} +
if (cd "$DIR" && "$TOOL" -noline -o="$DIR/out" pl.equation >"$DIR/console" 2>&1) &&
    g++ -std=c++17 -g -fsanitize=address -Wall -Wextra -Werror -I"$DIR/out" -I"$RUNTIME" "$DIR/main.cpp" "$DIR"/out/*.cpp \
        -o "$DIR/prog" 2>"$DIR/gxx"; then
    got=$(ASAN_OPTIONS=detect_leaks=1 "$DIR/prog" 2>&1)
    if [ "$got" = 11 ]; then pass; else fail "the program printed:"$'\n'"$got"; fi
else
    fail "the line does not compose or compile:"$'\n'"$(cat "$DIR/console" "$DIR/gxx" | head -30)"
fi

echo "dynamic_chain: $PASSES passed, $FAILS failed"
[ "$FAILS" = 0 ]
