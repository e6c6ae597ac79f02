#!/bin/bash
# The composition run of the built tool: console lines, the rebuild
# decision, restored times of unchanged outputs, parse failures and the
# safety of the full-rebuild clean-up.
# Usage: run.sh <mosa++> <fixtures-dir>
set -u
source "$(dirname "$0")/lib/common.bash" "$1"

# Product line: layer A introduces Foo, layer B refines it.
make_line() { # folder
    mkdir -p "$1/A" "$1/B"
    printf 'A\nB\n' >"$1/prod.equation"
    printf 'class Foo {\npublic:\n  int f() { return 1; }\n};\n' >"$1/A/Foo.h"
    printf 'refines class Foo {\npublic:\n  int f() { return super::f() + 1; }\n};\n' >"$1/B/Foo.h"
    touch -d '-20 seconds' "$1/prod.equation" "$1/A/Foo.h" "$1/B/Foo.h"
}

# The lines from "transforming.." on (the method counts are the
# transformations' own business and are matched by form).
METHODS='^\*\*\* [0-9]+ methods \([0-9]+ inlined\), [0-9]+ extensions \([0-9]+ inlined\)$'
no_methods() { grep -vE "$METHODS" <<<"$OUT"; }

# --- Empty layers: the notice, zero counts. ---
mkdir -p "$WORK/empty/A" "$WORK/empty/B"
printf 'A\nB dynamicload\n' >"$WORK/empty/e.equation"
touch -d '-20 seconds' "$WORK/empty/e.equation"
run_in "$WORK/empty" e
expect_rc "empty layers" 0
expect_out "empty layers" "equation changed after 0.. rebuilding complete sources
parsing..
0 files appended (0 changed)
transforming..
layer A: 0 LoC
layer B: 0 LoC
*** total: 0 LoC
*** 0 methods (0 inlined), 0 extensions (0 inlined)
0 files generated (0 + 0 dependent)"

# --- First run. ---
P="$WORK/p"
O="$P/.output.prod"
make_line "$P"
run_in "$P" prod
expect_rc "first run" 0
expect_out "first run" "equation changed after 0.. rebuilding complete sources
parsing..
A/Foo (4 LOC)
B/Foo (4 LOC)
0 files appended (0 changed)
transforming..
layer A: 4 LoC
layer B: 4 LoC
*** total: 8 LoC
$(grep -E "$METHODS" <<<"$OUT")
1 files generated (1 + 0 dependent)"
grep -qE "$METHODS" <<<"$OUT" || fail "first run: no method line"
[ -f "$O/Foo.h" ] || fail "first run: no $O/Foo.h"
[ -e "$O/mosac.log.xml" ] && fail "first run without -o wrote a log"

# --- Unchanged second run: nothing parsed, times kept, log present. ---
touch -d '-10 seconds' "$O/Foo.h"
BEFORE=$(mtime "$O/Foo.h")
run_in "$P" prod
expect_rc "second run" 0
expect_out "second run" "parsing..
0 files appended (0 changed)
transforming..
layer A: 0 LoC
layer B: 0 LoC
*** total: 0 LoC
*** 0 methods (0 inlined), 0 extensions (0 inlined)
0 files generated (0 + 0 dependent)"
[ "$(mtime "$O/Foo.h")" = "$BEFORE" ] || fail "second run: Foo.h time changed"
grep -q '^<log>' "$O/mosac.log.xml" || fail "second run: no log"
tail -n 1 "$O/mosac.log.xml" | grep -qx '</log>' || fail "second run: log not closed"

# --- A touched module with unchanged content: old time back. ---
CONTENT=$(cat "$O/Foo.h")
touch -d '-5 seconds' "$P/B/Foo.h"
run_in "$P" prod
expect_rc "touched module" 0
lacks "touched module" "rebuilding complete sources"
contains "touched module" "B/Foo (4 LOC)"
contains "touched module" "$O/Foo.h : info: no changes found"
[ "$(tail -n 2 <<<"$OUT" | head -n 1)" = "$O/Foo.h : info: no changes found" ] \
    || fail "touched module: 'no changes found' is not right before the summary"
contains "touched module" "1 files generated (1 + 0 dependent)"
[ "$(mtime "$O/Foo.h")" = "$BEFORE" ] || fail "touched module: old time not restored"
[ "$(cat "$O/Foo.h")" = "$CONTENT" ] || fail "touched module: content changed"

# --- An edited module: new content, new time. ---
printf 'refines class Foo {\npublic:\n  int f() { return super::f() + 2; }\n};\n' >"$P/B/Foo.h"
touch -d '-5 seconds' "$P/B/Foo.h"
run_in "$P" prod
expect_rc "edited module" 0
lacks "edited module" "no changes found"
grep -qF '+ 2' "$O/Foo.h" || fail "edited module: new content missing"
[ "$(mtime "$O/Foo.h")" -gt "$BEFORE" ] || fail "edited module: time not new"

# --- The rebuild notice names what changed, with the output's time. ---
touch -d '-10 seconds' "$O/Foo.h"
T=$(mtime "$O/Foo.h")
touch "$TOOL"
run_in "$P" prod
expect_rc "tool changed" 0
[ "$(head -n 1 <<<"$OUT")" = "mosa++ changed after $T.. rebuilding complete sources" ] \
    || fail "tool changed: first line is '$(head -n 1 <<<"$OUT")'"
contains "tool changed" "A/Foo (4 LOC)"
touch -d '-1 hour' "$TOOL"
touch -d '-10 seconds' "$O/Foo.h"
T=$(mtime "$O/Foo.h")
touch -d '-10 seconds' "$P/prod.equation" # same second counts as changed
run_in "$P" prod
[ "$(head -n 1 <<<"$OUT")" = "equation changed after $T.. rebuilding complete sources" ] \
    || fail "equation changed: first line is '$(head -n 1 <<<"$OUT")'"
touch -d '-20 seconds' "$P/prod.equation"

# --- A parse failure ends the run with 1; nothing is written back. ---
: >"$P/B/Bad.h"
touch -d '-20 seconds' "$P/B/Bad.h" "$P/prod.equation"
touch -d '-10 seconds' "$O/Foo.h"
touch -d '-5 seconds' "$P/prod.equation"
run_in "$P" prod
expect_rc "parse failure" 1
contains "parse failure" "$P/B/Bad.h(1) : error: failed to parse file"
lacks "parse failure" "transforming.."
lacks "parse failure" "files generated"
[ -e "$O/Foo.h" ] && fail "parse failure: the cleaned output came back"
rm "$P/B/Bad.h"

# --- A class depending on a changed class is touched and counted. ---
Q="$WORK/q"
QO="$Q/.output.prod"
make_line "$Q"
printf 'class Bar {\npublic:\n  Foo foo;\n  int g() { return foo.f(); }\n};\n' >"$Q/A/Bar.h"
touch -d '-20 seconds' "$Q/A/Bar.h"
run_in "$Q" prod
expect_rc "dependent first run" 0
contains "dependent first run" "2 files generated (2 + 0 dependent)"
printf '#include "Foo.h"\n#include "Bar.h"\nint main() { Bar b; return b.g(); }\n' >"$WORK/main.cpp"
if g++ -I"$QO" -o "$WORK/prog" "$WORK/main.cpp" 2>"$WORK/gxx"; then
    "$WORK/prog"
    [ $? = 2 ] || fail "dependent: the composed program does not return 2"
else
    fail "dependent: the composed sources do not compile: $(cat "$WORK/gxx")"
fi
touch -d '-10 seconds' "$QO"/*
printf 'refines class Foo {\npublic:\n  int f() { return super::f() + 5; }\n};\n' >"$Q/B/Foo.h"
touch -d '-5 seconds' "$Q/B/Foo.h"
run_in "$Q" prod
expect_rc "dependent" 0
lacks "dependent" "A/Bar"
contains "dependent" "touch-dep: $QO/Bar (Bar)"
contains "dependent" "2 files generated (1 + 1 dependent)"
if g++ -I"$QO" -o "$WORK/prog" "$WORK/main.cpp" 2>"$WORK/gxx"; then
    "$WORK/prog"
    [ $? = 6 ] || fail "dependent: the recomposed program does not return 6"
else
    fail "dependent: the recomposed sources do not compile: $(cat "$WORK/gxx")"
fi

# --- Every equation file read, imports included, decides a rebuild. ---
I="$WORK/i"
make_line "$I"
printf 'A\n' >"$I/sub.equation"
printf 'import sub as .\nB\n' >"$I/prod.equation"
touch -d '-20 seconds' "$I/sub.equation" "$I/prod.equation"
run_in "$I" prod
expect_rc "imported equation" 0
contains "imported equation" "B/Foo (4 LOC)"
touch -d '-10 seconds' "$I/.output.prod"/*
run_in "$I" prod
lacks "imported equation unchanged" "rebuilding complete sources"
contains "imported equation unchanged" "0 files generated (0 + 0 dependent)"
touch -d '-5 seconds' "$I/sub.equation"
run_in "$I" prod
grep -q "^equation changed after [0-9]*.. rebuilding complete sources$" <<<"$OUT" \
    || fail "imported equation: no rebuild after its edit: $OUT"

# --- -eq: the composed equation file, written before the clean-up of the
# full rebuild, survives it. ---
E="$WORK/e"
make_line "$E"
mkdir -p "$E/X"
printf 'X\n' >"$E/A/sub.equation"
printf 'class Extra {\npublic:\n  int e() { return 2; }\n};\n' >"$E/X/Extra.h"
touch -d '-20 seconds' "$E/A/sub.equation" "$E/X/Extra.h"
T=0
for round in first second; do
    touch -d '-5 seconds' "$E/prod.equation" # a full rebuild each time
    run_in "$E" -eq prod
    expect_rc "-eq $round" 0
    contains "-eq $round" "equation changed after $T.. rebuilding complete sources"
    [ "$(cat "$E/.output.prod/sub.equation" 2>&1)" = "X" ] || fail "-eq $round: sub.equation was removed"
    [ -f "$E/.output.prod/Extra.h" ] || fail "-eq $round: Extra.h missing"
    touch -d '-10 seconds' "$E/.output.prod"/*
    T=$(mtime "$E/.output.prod/Foo.h")
done

# --- Clean-up safety: folders that hold sources are refused. ---
S="$WORK/s"
make_line "$S"
LISTING=$(cd "$WORK" && find s | sort)
for opt in "-o=." "-o=$S/A" "-o=$WORK" "-o=$S/B/.." "-o=/"; do
    run_in "$S" "$opt" prod
    expect_rc "refused $opt" 1
    contains "refused $opt" "encountered errors"
    grep -q "error: output folder '.*' \(contains sources\|is the file-system root\); refusing to use it" <<<"$OUT" \
        || fail "refused $opt: no refusal in: $OUT"
    [ "$(cd "$WORK" && find s | sort)" = "$LISTING" ] || fail "refused $opt: files changed"
done

# --- Clean-up with -o: what the tool did not write stays, links are never
# followed; the log stays. ---
OUTDIR="$WORK/out"
mkdir -p "$WORK/outside/deep" "$OUTDIR/sub"
echo keep >"$WORK/outside/keep.txt"
echo keep >"$WORK/outside/deep/keep.txt"
ln -s "$WORK/outside" "$OUTDIR/ext"
ln -s "$WORK/outside/keep.txt" "$OUTDIR/flink"
ln -s "$OUTDIR" "$OUTDIR/sub/loop"
ln -s "$WORK/nowhere" "$OUTDIR/broken"
echo stale >"$OUTDIR/old.txt"
echo stale >"$OUTDIR/sub/old.txt"
run_in "$S" "-o=$OUTDIR" prod
expect_rc "clean-up with links" 0
[ -f "$WORK/outside/keep.txt" ] && [ -f "$WORK/outside/deep/keep.txt" ] \
    || fail "clean-up: a file outside the output folder was removed"
for kept in ext flink sub/loop broken old.txt sub/old.txt; do
    [ -e "$OUTDIR/$kept" ] || [ -L "$OUTDIR/$kept" ] || fail "clean-up: $kept was removed"
done
[ -d "$OUTDIR/sub" ] || fail "clean-up: folder removed"
[ -f "$OUTDIR/Foo.h" ] || fail "clean-up: no output written"
grep -q '^<log>' "$OUTDIR/mosac.log.xml" || fail "clean-up: the log did not survive"

# The same folder again after a rebuild: the log is kept, rewritten whole.
touch -d '-10 seconds' "$OUTDIR/Foo.h"
touch -d '-5 seconds' "$S/prod.equation"
run_in "$S" "-o=$OUTDIR" prod
expect_rc "rebuild with -o" 0
contains "rebuild with -o" "A/Foo (4 LOC)"
[ "$(grep -c '^<log>' "$OUTDIR/mosac.log.xml")" = 1 ] || fail "rebuild with -o: log not one document"
tail -n 1 "$OUTDIR/mosac.log.xml" | grep -qx '</log>' || fail "rebuild with -o: log not closed"

# --- A log that cannot be opened is passed over; one that cannot be
# written fails the run. ---
L="$WORK/log"
make_line "$L"
run_in "$L" prod
expect_rc "log: first run" 0
mkdir "$L/.output.prod/mosac.log.xml"
run_in "$L" prod
expect_rc "log: folder in its place" 0
grep -q 'cannot' "$WORK/console" && fail "log: folder in its place reported: $OUT"
if [ -c /dev/full ]; then
    rmdir "$L/.output.prod/mosac.log.xml"
    ln -s /dev/full "$L/.output.prod/mosac.log.xml"
    run_in "$L" prod
    expect_rc "log: full device" 1
    contains "log: full device" "0 files generated (0 + 0 dependent)"
    grep -q '^mosa++: cannot write the log file .*mosac.log.xml: No space left on device$' "$WORK/console" \
        || fail "log: full device not reported: $OUT"
fi

[ $FAILS = 0 ] && echo "run: all passed"
exit $((FAILS > 0))
