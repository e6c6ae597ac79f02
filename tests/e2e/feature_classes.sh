#!/bin/bash
# The generated classes of a product line with a dynamically loaded layer
# (examples/units: the tracing layer refines the counter of the base layer):
# the product-line interface, the factory class and one layer class per
# binding unit are written, compiled and linked with the example's runtime
# headers and its main program, and run with the tracing unit off and on.
# An unchanged second run writes the same classes; clashing names are
# reported.
# Usage: feature_classes.sh <mosa++> <fixtures-dir>
set -u
source "$(dirname "$0")/lib/common.bash"
EXAMPLE=$(cd "$2/../../examples/units" && pwd)

DIR=$WORK/units
cp -r "$EXAMPLE" "$DIR"
find "$DIR" -type f -exec touch -d '-10 seconds' {} +
run_in "$DIR" -noline -o="$DIR/out" units.equation
expect_rc "compose" 0
case "$OUT" in
*"files generated"*) ;;
*) fail "compose: no summary: $OUT" ;;
esac
grep -q "warning\|error" "$WORK/console" && fail "compose: messages: $OUT"
for f in units.h base.h base.cpp tracing.h tracing.cpp PlCreate.h PlCreate.cpp; do
    [ -f "$DIR/out/$f" ] || fail "$f was not written"
done
[ -f "$DIR/out/units.cpp" ] && fail "units.cpp was written"
grep -q "class units : public Feature" "$DIR/out/units.h" || fail "units.h: no interface class"
grep -q "class tracing : public units" "$DIR/out/tracing.h" || fail "tracing.h: no layer class"

if g++ -std=c++17 -Wall -Wextra -Werror -Wno-unused-parameter -I"$DIR/out" -I"$DIR/runtime" \
    "$DIR/main.cpp" "$DIR"/out/*.cpp -o "$WORK/app" 2>"$WORK/gxx"; then
    OFF=$("$WORK/app")
    [ "$OFF" = "total 7" ] || fail "feature off: $OFF"
    ON=$("$WORK/app" tracing)
    EXPECTED=$(printf 'add 3\nvalue 3\nadd 4\nvalue 7\ntotal 7')
    [ "$ON" = "$EXPECTED" ] || { fail "feature on differs"; diff <(echo "$EXPECTED") <(echo "$ON"); }
else
    fail "the product line does not build:"
    head -30 "$WORK/gxx"
fi

# A second run over unchanged sources writes the same feature classes.
mkdir "$WORK/first"
cp "$DIR"/out/*.h "$DIR"/out/*.cpp "$WORK/first/"
run_in "$DIR" -noline -o="$DIR/out" units.equation
expect_rc "second run" 0
for f in "$WORK"/first/*; do
    cmp -s "$f" "$DIR/out/$(basename "$f")" || fail "second run changed $(basename "$f")"
done

# With -namespace every generated file still compiles.
run_in "$DIR" -noline -namespace=ns -o="$DIR/ns" units.equation
expect_rc "namespace" 0
for f in "$DIR"/ns/*.h "$DIR"/ns/*.cpp; do
    g++ -std=c++17 -fsyntax-only -Wall -Werror -Wno-unused-parameter -I"$DIR/ns" -I"$DIR/runtime" -x c++ "$f" \
        2>"$WORK/gxx" || { fail "namespace: $(basename "$f") does not compile"; head -10 "$WORK/gxx"; }
done

# An equation named like a binding unit: the interface wins, the layer
# class is not written over it.
cp "$DIR/units.equation" "$DIR/base.equation"
run_in "$DIR" -noline -o="$DIR/clash" base.equation
grep -q "error: the layer class of binding unit 'base' and the product-line interface 'base'" \
    "$WORK/console" || fail "clash: no error: $OUT"
grep -q "class base : public Feature" "$DIR/clash/base.h" || fail "clash: base.h is not the interface"

[ "$FAILS" -eq 0 ] && echo "all passed"
[ "$FAILS" -eq 0 ]
