#!/bin/bash
# One class of a few thousand methods over two layers, the upper one
# refining every third method, overloads of one name that differ in their
# parameters or const, and a destructor in both layers. The composed class
# must compile without a warning and every call must reach the right layers.
# Usage: big_class.sh <mosa++> <fixtures-dir>
set -u
. "$(dirname "$0")/lib/common.bash"

METHODS=3000
DIR=$WORK/big
mkdir -p "$DIR/base" "$DIR/ext"
printf 'base\next\n' >"$DIR/big.equation"
{
    echo '#include <cstdio>'
    echo 'class Big {'
    echo 'public:'
    echo '    ~Big() { std::printf("base gone\n"); }'
    echo '    int g(int x) { return x; }'
    echo '    int g(double) { return 100; }'
    echo '    int g(int x) const { return 1000 + x; }'
    echo '    bool operator==(Big const&) const { return true; }'
    for ((i = 0; i < METHODS; ++i)); do
        echo "    int m$i(int x) { return x + $i; }"
    done
    echo '};'
} >"$DIR/base/Big.h"
{
    echo '#include <cstdio>'
    echo 'refines class Big {'
    echo 'public:'
    echo '    ~Big() { std::printf("ext gone\n"); }'
    echo '    int g(int x) const { return super::g(x) + 1; }'
    echo '    int g(double x) { return super::g(x) + 5; }'
    for ((i = 0; i < METHODS; i += 3)); do
        echo "    int m$i(int x) { return super::m$i(x) * 2; }"
    done
    echo '    int top(int x) { return m0(x) + m1(x); }'
    echo '};'
} >"$DIR/ext/Big.h"
{
    echo '#include "Big.h"'
    echo '#include <cstdio>'
    echo 'int main() {'
    echo '    long sum = 0;'
    echo '    {'
    echo '        Big big;'
    echo '        Big const& view = big;'
    for ((i = 0; i < METHODS; ++i)); do
        echo "        sum += big.m$i(1);"
    done
    echo '        std::printf("%ld %d %d %d %d %d\n", sum, big.g(7), big.g(7.0), view.g(7), big.top(1), big == big);'
    echo '    }'
    echo '}'
} >"$DIR/main.cpp"
# m<i>(1) is 1 + i, twice that for every third i.
SUM=$(awk -v n=$METHODS 'BEGIN { for (i = 0; i < n; ++i) s += (i % 3 == 0 ? 2 : 1) * (1 + i); print s }')

run_in "$DIR" -o="$DIR/out" big.equation
expect_rc "compose" 0
lacks "compose" "warning"
lacks "compose" "error"
header=$DIR/out/Big.h
[ -f "$header" ] || fail "no composed header"
# Every method once in the composed class, every refined one also renamed.
[ "$(grep -cE '^ *int m[0-9]+\(int x\)' "$header")" = "$METHODS" ] || fail "methods missing from $header"
[ "$(grep -cE 'int base_m[0-9]+\(' "$header")" = $(((METHODS + 2) / 3)) ] || fail "refined methods not renamed in $header"
if ! g++ -std=c++17 -Wall -Wextra -Werror -I "$DIR/out" "$DIR/main.cpp" -o "$DIR/prog" 2>"$WORK/gcc"; then
    fail "composed class does not compile: $(head -20 "$WORK/gcc")"
else
    got=$("$DIR/prog")
    expected="$SUM 7 105 1008 4 1
ext gone
base gone"
    [ "$got" = "$expected" ] || { fail "program prints another result"; diff <(echo "$expected") <(echo "$got"); }
fi

[ "$FAILS" = 0 ] || { echo "$FAILS failure(s)"; exit 1; }
echo "big class: all checks passed"
