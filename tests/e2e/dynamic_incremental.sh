#!/bin/bash
# Incremental runs of a product line with a dynamically loaded layer write
# what a run from scratch writes. P is refined in the loaded layer D, so it is
# composed per binding unit; U creates a P, V holds a U, Maker creates a V,
# A creates a P and Cr creates an A: all of them need the product-line
# pointer, which the class-access graph decides also through classes that are
# not parsed again. Each case composes the line, edits it, composes it again
# into the same folder and from scratch into another: both folders must be
# equal (the log aside), every output must compile, and no run may report an
# error (the units of P include its interface header, which is no cycle).
# Usage: dynamic_incremental.sh <mosa++> <fixtures-dir>
set -u
WORK=$(cd "$(mktemp -d)" && pwd -P)
trap 'rm -rf "$WORK"' EXIT
RUNTIME=$(cd "$2/../../examples/units/runtime" && pwd)
FAILS=0
PASSES=0

# A private copy of the tool, older than the fixtures: its time asks for no
# full rebuild.
mkdir "$WORK/bin"
cp "$1" "$WORK/bin/mosa++"
[ -d "$(dirname "$1")/codetemplates" ] && cp -r "$(dirname "$1")/codetemplates" "$WORK/bin/"
touch -d '-1 day' "$WORK/bin/mosa++"
TOOL="$WORK/bin/mosa++"

fail() { echo "FAIL [$CASE]: $*"; FAILS=$((FAILS + 1)); }
pass() { PASSES=$((PASSES + 1)); }

write_line() {
    mkdir -p "$DIR/B" "$DIR/D"
    printf 'B\nD dynamicload\n' >"$DIR/p.equation"
    printf 'class P {\npublic:\n    P() {}\n    int f() { return 1; }\n};\n' >"$DIR/B/P.h"
    printf 'refines class P {\npublic:\n    int f() { return super::f() + 2; }\n};\n' >"$DIR/D/P.h"
    # Name X creates a T in its implementation: "creator X T".
    creator() {
        printf 'class %s {\npublic:\n    %s() {}\n    int run();\n};\n\nint %s::run()\n{\n' "$1" "$1" "$1"
        printf '    %s* t = new %s();\n    int r = t->%s();\n    delete t;\n    return r;\n}\n' "$2" "$2" "$3"
    }
    creator U P f >"$DIR/B/U.h"
    printf 'class V {\npublic:\n    V() : m_u() {}\n    int h() { return m_u.run(); }\nprivate:\n    U m_u;\n};\n' \
        >"$DIR/B/V.h"
    creator Maker V h >"$DIR/B/Maker.h"
    creator A P f >"$DIR/B/A.h"
    creator Cr A run >"$DIR/B/Cr.h"
    find "$DIR" -type f -exec touch -d '-1 hour' {} +
}

# Composes into $DIR/$1; the console goes to $DIR/$1.console.
compose() {
    (cd "$DIR" && "$TOOL" -noline -o="$DIR/$1" p.equation >"$DIR/$1.console" 2>&1)
    local rc=$?
    [ "$rc" -eq 0 ] && pass || fail "$1: exit code $rc"
    if grep -q "error" "$DIR/$1.console"; then
        fail "$1 reports an error:"
        grep "error" "$DIR/$1.console"
    else
        pass
    fi
}

# The outputs of case $1 after the edit $2 (shell code run in the fixture);
# $3 is a text that $4 (a file of the output) must hold afterwards.
check() {
    CASE=$1
    DIR=$WORK/$1
    write_line
    compose out
    find "$DIR/out" -exec touch -d '-30 minutes' {} +
    (cd "$DIR" && eval "$2")
    compose out
    compose scratch
    if diff -r -x mosac.log.xml -x '*.console' "$DIR/scratch" "$DIR/out" >"$DIR/diff"; then
        pass
    else
        fail "incremental output differs from a run from scratch:"
        head -30 "$DIR/diff"
    fi
    local f
    for f in "$DIR"/out/*.h "$DIR"/out/*.cpp; do
        if g++ -std=c++17 -fsyntax-only -Wall -Wextra -Werror -I"$DIR/out" -I"$RUNTIME" \
            -x c++ "$f" 2>"$DIR/gxx"; then
            pass
        else
            fail "$(basename "$f") does not compile:"
            head -10 "$DIR/gxx"
        fi
    done
    if grep -qF -- "$3" "$DIR/out/$4"; then pass; else fail "$4 lacks: $3"; fi
}

# case | edit | text | in file
check touch_holder "touch -d '-10 minutes' B/V.h" "(new V(GetSPL()))->SetSplPtr(GetSPL())" Maker.cpp
check touch_creator "touch -d '-10 minutes' B/Cr.h" "(new A(GetSPL()))->SetSplPtr(GetSPL())" Cr.cpp
check nothing_changed ":" "(new A(GetSPL()))->SetSplPtr(GetSPL())" Cr.cpp
# U no longer creates a P: V and Maker, not parsed, lose the pointer.
check access_gone "sed -i 's/new P()/nullptr/; s/int r = t->f();/int r = 0;/' B/U.h && touch -d '-10 minutes' B/U.h" \
    "V* t = new V();" Maker.cpp
# P is no longer refined in the loaded layer: no class needs the pointer.
check unit_gone "rm D/P.h" "A* t = new A();" Cr.cpp
# A comes to be composed per unit: Cr, not parsed, calls its factory.
check per_unit "printf 'refines class A {\npublic:\n    int run() { return super::run(); }\n};\n' >D/A.h &&
    touch -d '-10 minutes' D/A.h" "GetSPL().New_A()" Cr.cpp

echo "dynamic_incremental: $PASSES passed, $FAILS failed"
[ "$FAILS" -eq 0 ]
