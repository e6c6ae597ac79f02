#!/bin/bash
# A class refined in two binding units (examples/units: the layers base and
# limits form the unit "base", the dynamically loaded tracing layer its own
# unit) is composed into one class per unit and the interface and decorator
# header that joins them; every generated file must compile against the
# example's runtime headers. A second line mixes in a class composed
# through one unit and a composed base class.
# Usage: binding_units.sh <mosa++> <fixtures-dir>
set -u
COMPOSE_OPTIONS=-noline
source "$(dirname "$0")/lib/example.bash" "$1" "$2" units

# Every generated header and source file compiles on its own.
compiles() {
    local f count=0
    for f in "$DIR"/out/*.h "$DIR"/out/*.cpp; do
        [ -f "$f" ] || continue
        count=$((count + 1))
        if g++ -std=c++17 -fsyntax-only -Wall -Werror -I"$DIR/out" -I"$DIR/runtime" \
            -x c++ "$f" 2>"$DIR/gxx"; then
            pass
        else
            fail "$(basename "$f") does not compile:"
            head -20 "$DIR/gxx"
        fi
    done
    [ "$count" -ge "$1" ] || fail "only $count generated files"
}

CASE=example
DIR=$WORK/example
cp -r "$EXAMPLE" "$DIR"
find "$DIR" -type f -exec touch -d '-10 seconds' {} +
compose units.equation
for f in Counter.h Counter__base.h Counter__tracing.h; do
    [ -f "$DIR/out/$f" ] && pass || fail "$f was not written"
done
# The units derive from the decorator; calls cross units through it.
has "$DIR/out/Counter__base.h" "class Counter__base : public Counter__Decorator"
has "$DIR/out/Counter__base.h" "final->base_add(n);"
has "$DIR/out/Counter__base.h" "return  GetSPL().New_Counter();"
has "$DIR/out/Counter__tracing.h" "super->base_add(n);"
has "$DIR/out/Counter__tracing.h" "this->final->report();"
has "$DIR/out/Counter.h" '#include "units.h"'
has "$DIR/out/Counter.h" "class Counter : public Class"
has "$DIR/out/Counter.h" "static int limit(units& spl) { return spl.Counter__limit(); }"
has "$DIR/out/mosac.log.xml" ">class Counter, not found: void add(int)</MSG>"
has "$DIR/out/mosac.log.xml" ">class Counter, already there: void base_add(int)</MSG>"
if grep -q "info:" "$DIR/console"; then fail "console:"; cat "$DIR/console"; else pass; fi
if grep -q "warning\|error" "$DIR/console"; then fail "messages:"; cat "$DIR/console"; else pass; fi
compiles 3

# A pure jampack class used by value, and a base class composed per unit.
CASE=bases
DIR=$WORK/bases
mkdir -p "$DIR/core" "$DIR/shapes" "$DIR/extra" "$DIR/runtime"
cp "$EXAMPLE"/runtime/Class.h "$EXAMPLE"/runtime/Feature.h "$DIR/runtime/"
cat >"$DIR/runtime/draw.h" <<'EOT'
#pragma once
#include "Feature.h"
class Shape;
class Square;
class draw : public Feature {
public:
    virtual Shape* New_Shape() = 0;
    virtual Square* New_Square() = 0;
};
EOT
cat >"$DIR/core/Point.h" <<'EOT'
class Point {
public:
    int x;
    int y;
};
EOT
cat >"$DIR/core/Shape.h" <<'EOT'
#include "Point.h"
class Shape {
public:
    virtual ~Shape() {}
    virtual int area() const { return 0; }
    Point origin() const { return m_origin; }

protected:
    Point m_origin;
};
EOT
cat >"$DIR/shapes/Square.h" <<'EOT'
class Square : public Shape {
public:
    Square() : m_side(1) {}
    int area() const { return m_side * m_side; }
    Square* twin() const { return new Square(); }

private:
    int m_side;
};
EOT
cat >"$DIR/extra/Shape.h" <<'EOT'
refines class Shape {
public:
    int area() const { return super::area() + 1; }
};
EOT
cat >"$DIR/extra/Square.h" <<'EOT'
refines class Square {
public:
    int area() const { return 2 * super::area(); }
};
EOT
printf 'core\nshapes\nextra dynamicload\n' >"$DIR/draw.equation"
find "$DIR" -type f -exec touch -d '-10 seconds' {} +
compose draw.equation
has "$DIR/out/Square.h" "class Square : public Shape"
has "$DIR/out/Square.h" "Shape* GetSuper_Shape() const { return super; }"
has "$DIR/out/Square__base.h" "class Square__base : public Square__Decorator"
if grep -q "warning\|error" "$DIR/console"; then fail "messages:"; cat "$DIR/console"; else pass; fi
compiles 6

# PlCreate::CreateLayer takes a unit's binding name as the equation writes
# it, its layer class name and its short name; of two units with the same
# short name the lower one keeps it, and the tool warns naming both.
CASE=dotted_names
DIR=$WORK/dotted
mkdir -p "$DIR/base" "$DIR/e1" "$DIR/e2"
cp -r "$EXAMPLE/runtime" "$DIR/runtime"
cat >"$DIR/base/Shape.h" <<'EOT'
#include <cstdio>
class Shape {
public:
    virtual ~Shape() {}
    virtual void draw() { std::printf("base\n"); }
};
EOT
for unit in e1 e2; do
    printf 'refines class Shape {\npublic:\n    void draw() { std::printf("%s\\n"); super::draw(); }\n};\n' "$unit" \
        >"$DIR/$unit/Shape.h"
done
printf '#include "Feature.h"\nclass Setup {\npublic:\n    static Feature* Layer(char const* name) { return PlCreate::CreateLayer(name); }\n};\n' \
    >"$DIR/base/Setup.h"
cat >"$DIR/main.cpp" <<'EOT'
#include "Setup.h"
#include "Shape.h"
#include <cstdio>

// Stacks the units named on the command line on the unit "base".
int main(int argc, char** argv)
{
    Feature* layers[8] = {Setup::Layer("base")};
    int count = 1;
    for (int i = 1; i < argc && count < 8; ++i) {
        layers[count] = Setup::Layer(argv[i]);
        if (!layers[count]) {
            std::printf("no unit %s\n", argv[i]);
            continue;
        }
        layers[count]->SetSuperLayer(layers[count - 1]);
        ++count;
    }
    Shape* shape = static_cast<pl&>(*layers[count - 1]).New_Shape();
    shape->draw();
    delete shape;
    while (count > 0)
        delete layers[--count];
    return 0;
}
EOT
printf 'base\ne1 dynamicload bindingunit a.extra\ne2 dynamicload bindingunit b.extra\n' >"$DIR/pl.equation"
find "$DIR" -type f -exec touch -d '-10 seconds' {} +
compose pl.equation
has "$DIR/console" "mosa++ : warning: binding units 'a.extra' and 'b.extra' share the short name 'extra': PlCreate::CreateLayer(\"extra\") creates the layer of 'a.extra'; name 'b.extra' in full"
[ "$(grep -c warning "$DIR/console")" = 1 ] && pass || { fail "console:"; cat "$DIR/console"; }
if g++ -std=c++17 -g -fsanitize=address,undefined -Wall -Wextra -Werror -I"$DIR/out" -I"$DIR/runtime" \
    "$DIR/main.cpp" "$DIR"/out/*.cpp -o "$DIR/prog" 2>"$DIR/gxx"; then
    pass
    while IFS='|' read -r args expected; do
        got=$(ASAN_OPTIONS=detect_leaks=1 "$DIR/prog" $args 2>&1 | tr '\n' ' ')
        [ "$got" = "$expected" ] && pass || fail "units '$args' printed: $got"
    done <<'EOT'
|base 
a.extra|e1 base 
a_extra|e1 base 
extra|e1 base 
b.extra|e2 base 
a.extra b.extra|e2 e1 base 
b_extra extra|e1 e2 base 
x.extra|no unit x.extra base 
EOT
else
    fail "the composed line does not compile:"$'\n'"$(head -30 "$DIR/gxx")"
fi

echo "$PASSES passed, $FAILS failed"
[ "$FAILS" -eq 0 ]
