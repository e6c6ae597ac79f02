#!/bin/bash
# What a run may do to the user's files: a refused output folder leaves every
# tree as it was and gets nothing written; files the tool did not write
# survive every run, full rebuilds included; outputs the sources no longer
# give go. Also what makes a run a full rebuild: an unfinished last run,
# changed options, and an edit in the same second as the last run.
# Usage: output_safety.sh <mosa++> <fixtures-dir>
set -u
source "$(dirname "$0")/lib/common.bash" "$1"

# A home folder of its own, with the product line inside it, and an
# imported equation outside it.
export HOME=$WORK/home/user
SRC=$HOME/proj
LIB=$WORK/lib
mkdir -p "$SRC/A" "$SRC/B" "$LIB" "$WORK/target"
echo "the user's" >"$HOME/notes.txt"
printf 'A\n' >"$LIB/lib.equation"
printf 'import ../../../lib/lib.equation as .\nB\n' >"$SRC/prod.equation"
printf 'class Foo {\npublic:\n  int f() { return 1; }\n};\n' >"$SRC/A/Foo.h"
printf 'class Bar {\npublic:\n  int g();\n};\nint Bar::g() { return 2; }\n' >"$SRC/A/Bar.h"
printf 'refines class Foo {\npublic:\n  int f() { return super::f() + 1; }\n};\n' >"$SRC/B/Foo.h"
printf 'lower\n' >"$SRC/A/notes.txt"
find "$WORK" -type f -exec touch -d '-1 hour' {} +

# Kinds, link texts, contents and times of every file below the work folder,
# the tool's copy and its console aside.
tree() {
    (cd "$WORK" && find . \( -path ./bin -o -name console \) -prune \
        -o \( -type d -printf '%p d\n' -o -printf '%p %y %l %T@\n' \) | sort
     find . \( -path ./bin -o -name console \) -prune -o -type f -exec sha1sum {} + | sort)
}

# --- Refused output folders: the reason, exit 1, nothing made or written. ---
BEFORE=$(tree)
while IFS='|' read -r name folder reason shown; do
    run_in "$SRC" "-o=$folder" prod
    expect_rc "refused $name" 1
    grep -qF "error: output folder '${shown:-$folder}' $reason; refusing to use it" <<<"$OUT" \
        || fail "refused $name: no refusal saying '$reason' in: $OUT"
    [ "$(tree)" = "$BEFORE" ] || fail "refused $name: files changed: $(diff <(echo "$BEFORE") <(tree) | head -5)"
done <<EOF
root|/|is the file-system root
home|$HOME|is the home folder
above home|$WORK/home|contains the home folder '$HOME'
above home, by ..|$HOME/..|contains the home folder '$HOME'|$WORK/home
sources|$SRC/A|contains sources
imported equation|$LIB|contains the equation file '$LIB/lib.equation'
above an imported equation|$WORK|contains the home folder '$HOME'
tool's templates|$WORK/bin/codetemplates|lies in the folder of mosa++ '$WORK/bin'
new folder in the tool's folder|$WORK/bin/new/out|lies in the folder of mosa++ '$WORK/bin'
EOF

# A derived layer's folder, found only while the layers are listed, is
# refused the same way and gets no log.
ln -s "$WORK/target" "$SRC/B/A"
run_in "$SRC" "-o=$WORK/target" prod
expect_rc "derived layer's folder" 1
contains "derived layer's folder" "mosa++ : error: output folder '$WORK/target' contains sources; refusing to use it"
[ -z "$(ls -A "$WORK/target")" ] || fail "derived layer's folder: something was written: $(ls -A "$WORK/target")"
rm "$SRC/B/A" "$SRC/B/A.link" 2>/dev/null

# --- Planted files survive every run; dead outputs go. ---
O=$WORK/out
mkdir -p "$O/sub"
echo mine >"$O/user.txt"
echo mine >"$O/sub/user.h"
echo mine >"$O/Baz.h"           # named like a class output, never written by the tool
ln -s "$HOME/notes.txt" "$O/link"
planted() { # step
    local f
    for f in user.txt sub/user.h Baz.h link; do
        [ -e "$O/$f" ] || fail "$1: $f was removed"
    done
    [ "$(cat "$HOME/notes.txt")" = "the user's" ] || fail "$1: a file outside the output folder changed"
}
run_in "$SRC" "-o=$O" prod
expect_rc "first run" 0
planted "first run"
for f in Foo.h Bar.h Bar.cpp notes.txt mosac.log.xml mosac.record; do
    [ -f "$O/$f" ] || fail "first run: $f missing"
done
grep -qx 'state complete' "$O/mosac.record" || fail "first run: the record does not say the run finished"
grep -q '^file .*user' "$O/mosac.record" && fail "first run: a planted file is in the record"

touch "$SRC/prod.equation"
run_in "$SRC" "-o=$O" prod
contains "full rebuild" "A/Foo (4 LOC)"
planted "full rebuild"
[ -f "$O/Foo.h" ] || fail "full rebuild: Foo.h missing"

# The class's modules and the appended file's source go: so do their outputs.
rm "$SRC/A/Bar.h" "$SRC/A/notes.txt"
run_in "$SRC" "-o=$O" prod
expect_rc "removed class" 0
for f in Bar.h Bar.cpp Bar.dep notes.txt; do
    [ -e "$O/$f" ] && fail "removed class: $f stayed"
done
planted "removed class"

# --- An unfinished run is followed by a full rebuild. ---
sed -i 's/^state complete$/state running/' "$O/mosac.record"
run_in "$SRC" "-o=$O" prod
contains "unfinished run" "previous run did not finish.. rebuilding complete sources"
contains "unfinished run" "B/Foo (4 LOC)"
run_in "$SRC" "-o=$O" prod
lacks "after the unfinished run" "rebuilding complete sources"

# --- Options that shape the output: a change rebuilds, the same ones not. ---
run_in "$SRC" -noline "-o=$O" prod
contains "-noline" "options changed.. rebuilding complete sources"
grep -q '#line' "$O/Foo.h" && fail "-noline: Foo.h still has line directives"
run_in "$SRC" -noline "-o=$O" prod
lacks "-noline again" "rebuilding complete sources"
run_in "$SRC" -namespace=ns "-o=$O" prod
contains "-namespace" "options changed.. rebuilding complete sources"
grep -q 'namespace ns' "$O/Foo.h" || fail "-namespace: Foo.h has no namespace"
planted "option changes"

# --- An edit in the same second as the output, but after it, is seen. ---
run_in "$SRC" -namespace=ns "-o=$O" prod
S=$(( $(date +%s) - 100 ))
touch -d "@$S.100000000" "$O"/*.h "$O"/*.dep
touch -d "@$S.600000000" "$SRC/B/Foo.h"
run_in "$SRC" -namespace=ns "-o=$O" prod
contains "same second" "B/Foo (4 LOC)"
[ "$(stat -c %Y "$O/Foo.h")" -ge "$S" ] || fail "same second: Foo.h not written"

# --- A folder written before the record existed: only the files this run
# writes for its classes are removed. ---
L=$WORK/legacy
mkdir -p "$L"
echo 'old' >"$L/Foo.h"
echo 'old code' >"$L/Foo.cpp"
echo 'gone' >"$L/Gone.h"
echo mine >"$L/user.txt"
touch -d '-2 hours' "$L"/*    # older than the equation: a full rebuild
run_in "$SRC" "-o=$L" prod
expect_rc "legacy folder" 0
grep -q '^equation changed after [0-9]*.. rebuilding complete sources$' <<<"$OUT" || fail "legacy folder: no rebuild: $OUT"
grep -q 'class Foo' "$L/Foo.h" || fail "legacy folder: Foo.h not composed"
[ -e "$L/Foo.cpp" ] && fail "legacy folder: the stale Foo.cpp stayed"
[ -f "$L/Gone.h" ] && [ -f "$L/user.txt" ] || fail "legacy folder: a file the tool cannot know was removed"

[ "$FAILS" = 0 ] || { echo "$FAILS failure(s)"; exit 1; }
echo "output safety: all passed"
