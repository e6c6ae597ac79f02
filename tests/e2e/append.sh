#!/bin/bash
# Plain files of the layers carried into the output folder: appended files
# with their headers, unchanged results keeping their times, files of
# composed classes never overwritten, copy files, and the layers' own
# equation files with -eq and -eqonly. What is written is compiled with g++.
# Usage: append.sh <mosa++> <fixtures-dir>
set -u
source "$(dirname "$0")/lib/common.bash" "$1"
same_file() { cmp -s "$2" "$3" || fail "$1: $3 differs from $2"; }

# --- Product line: A introduces Foo, B refines it, C holds plain files. ---
# C's Foo.h and Foo.cpp lie side by side, so they are files to append that
# clash with the composed class Foo.
L="$WORK/line"
mkdir -p "$L/A" "$L/B" "$L/C"
printf 'A\nB\nC\n' >"$L/p.equation"
printf 'class Foo {\npublic:\n  int f() { return 1; }\n};\n' >"$L/A/Foo.h"
printf 'refines class Foo {\npublic:\n  int f() { return super::f() + 1; }\n};\n' >"$L/B/Foo.h"
printf 'lower\n' >"$L/A/notes.txt"
printf 'upper\n' >"$L/C/notes.txt"
printf 'int util();\n' >"$L/C/Util.h"
printf '#include "Util.h"\nint util() { return 1; }\n' >"$L/C/Util.cpp"
printf '#include "Foo.h"\n#include "Util.h"\nint main() { Foo foo; return foo.f() + util() == 3 ? 0 : 1; }\n' >"$L/C/main.cpp"
printf 'this is not C++\n' >"$L/C/Foo.h"
printf 'int raw;\n' >"$L/C/Foo.cpp"
printf 'CUR\0\001\377' >"$L/A/app.ico"
touch -d '-20 seconds' "$L/p.equation" "$L"/*/*
O="$L/.output.p"

run_in "$L" p
expect_rc "first run" 0
contains "first run" "appending file A/notes.txt"
contains "first run" "appending file C/notes.txt"
contains "first run" "appending file C/Util.cpp"
contains "first run" "appending file C/main.cpp"
contains "first run" "skip append file Foo.h"
contains "first run" "skip append file Foo.cpp"
contains "first run" "copy file app.ico"
contains "first run" "4 files appended (4 changed)"
lacks "first run" "warning"
[ "$(cat "$O/notes.txt")" = "$(printf 'lower\nupper')" ] || fail "notes.txt: $(cat "$O/notes.txt")"
[ "$(head -c 1 "$O/Util.cpp" | od -An -c | tr -d ' ')" = '\n' ] || fail "Util.cpp does not begin with a line break"
[ "$(sed -n 2p "$O/Util.cpp")" = "#line 1 \"$L/C/Util.cpp\"" ] || fail "Util.cpp header: $(sed -n 2p "$O/Util.cpp")"
grep -q 'this is not C++' "$O/Foo.h" && fail "the raw Foo.h replaced the composed one"
[ -e "$O/Foo.cpp" ] && fail "Foo.cpp was appended"
same_file "copy" "$L/A/app.ico" "$O/app.ico"
(cd "$O" && g++ -o prog main.cpp Util.cpp && ./prog) || fail "first run: the output does not build and run"
rm -f "$O/prog"

# --- Unchanged rerun: nothing changed, every time kept, still no clash. ---
touch -d '-10 seconds' "$O"/*
declare -A BEFORE
for f in "$O"/*; do BEFORE[$f]=$(mtime "$f"); done
COMPOSED=$(cat "$O/Foo.h")
run_in "$L" p
expect_rc "rerun" 0
contains "rerun" "skip append file Foo.h"
contains "rerun" "4 files appended (0 changed)"
[ "$(cat "$O/Foo.h")" = "$COMPOSED" ] || fail "rerun: the composed Foo.h was replaced"
for f in notes.txt Util.cpp Util.h main.cpp Foo.h app.ico; do
    [ "$(mtime "$O/$f")" = "${BEFORE[$O/$f]}" ] || fail "rerun: $f got a new time"
done
(cd "$O" && g++ -o prog main.cpp Util.cpp && ./prog) || fail "rerun: the output does not build and run"
rm -f "$O/prog"

# --- An edited file: only its target changes. ---
printf 'upper, edited\n' >"$L/C/notes.txt"
touch -d '-5 seconds' "$L/C/notes.txt"
run_in "$L" p
contains "edited file" "4 files appended (1 changed)"
[ "$(mtime "$O/notes.txt")" != "${BEFORE[$O/notes.txt]}" ] || fail "edited file: notes.txt kept its old time"
[ "$(mtime "$O/main.cpp")" = "${BEFORE[$O/main.cpp]}" ] || fail "edited file: main.cpp got a new time"

# --- -noline: the directive is commented out, make and resource kinds. ---
printf 'all:\n' >"$L/C/rules.mk"
printf 'ICON 1\n' >"$L/C/app.rc"
touch -d '-5 seconds' "$L/C/rules.mk" "$L/C/app.rc"
run_in "$L" -noline p
expect_rc "-noline" 0
[ "$(sed -n 2p "$O/Util.cpp")" = "//#line 1 \"$L/C/Util.cpp\"" ] || fail "-noline cpp header: $(sed -n 2p "$O/Util.cpp")"
[ "$(sed -n 2p "$O/rules.mk")" = "# src: //#line 1 \"$L/C/rules.mk\"" ] || fail "-noline mk header: $(sed -n 2p "$O/rules.mk")"
[ "$(sed -n 2p "$O/app.rc")" = "//#line 1 \"$L/C/app.rc\"" ] || fail "-noline rc header: $(sed -n 2p "$O/app.rc")"
run_in "$L" p
[ "$(sed -n 2p "$O/rules.mk")" = "# src: #line 1 \"$L/C/rules.mk\"" ] || fail "mk header: $(sed -n 2p "$O/rules.mk")"
[ "$(sed -n 2p "$O/app.rc")" = "//#line 1 \"$L/C/app.rc\"" ] || fail "rc header: $(sed -n 2p "$O/app.rc")"

# --- -eqonly on a first run without -o: the equation files concatenated. ---
E="$WORK/eq"
mkdir -p "$E/A" "$E/B" "$E/X" "$E/Y"
printf 'A\nB\n' >"$E/p.equation"
printf 'X\n' >"$E/A/sub.equation"
printf 'Y\n' >"$E/B/sub.equation"
printf 'class Foo {\npublic:\n  int f() { return 1; }\n};\n' >"$E/A/Foo.h"
printf 'class Extra {\npublic:\n  int e() { return 2; }\n};\n' >"$E/X/Extra.h"
touch -d '-20 seconds' "$E/p.equation" "$E"/*/*
run_in "$E" -eqonly p
expect_rc "-eqonly" 0
contains "-eqonly" "appending file A/sub.equation"
contains "-eqonly" "appending file B/sub.equation"
[ "$(cat "$E/.output.p/sub.equation")" = "$(printf 'X\nY')" ] || fail "-eqonly: sub.equation: $(cat "$E/.output.p/sub.equation" 2>&1)"
[ -e "$E/.output.p/Foo.h" ] && fail "-eqonly composed the classes"
rm -rf "$E/.output.p"

# --- -eq on a first run: the composed equation's layers lie below. ---
run_in "$E" -eq p
expect_rc "-eq" 0
contains "-eq" "layer X: 4 LoC"
[ -f "$E/.output.p/Extra.h" ] || fail "-eq: the imported layer X was not composed: $OUT"
[ -f "$E/.output.p/Foo.h" ] || fail "-eq: Foo.h missing"
[ "$(grep -n '^layer ' <<<"$OUT" | head -1)" = "$(grep -n '^layer X:' <<<"$OUT")" ] \
    || fail "-eq: X is not the lowest layer: $OUT"

# With a folder sub below the sources the imported layers lie in it.
mkdir -p "$E/sub/X" "$E/sub/Y"
printf 'class Inner {\npublic:\n  int i() { return 3; }\n};\n' >"$E/sub/X/Inner.h"
touch -d '-20 seconds' "$E/sub/X/Inner.h"
rm -rf "$E/.output.p"
run_in "$E" -eq p
expect_rc "-eq sub" 0
contains "-eq sub" "layer sub.X: 4 LoC"
[ -f "$E/.output.p/Inner.h" ] || fail "-eq sub: sub/X was not composed: $OUT"
[ -e "$E/.output.p/Extra.h" ] && fail "-eq sub: X was taken instead of sub/X"

# --- -eq with a derived layer: it is made again above its parents. ---
# P's folder links to S through a relative link text; S is static and
# lies below the plain P, so the combination is an error of the equation,
# told once, and the run stops before it writes a class; without the
# static mark the derived layer is made again above its parents.
D="$WORK/derived"
mkdir -p "$D/S" "$D/P" "$D/F" "$D/X"
printf 'compose static\nS\nP dynamicload\n' >"$D/p.equation"
ln -s ../F "$D/P/S"
printf 'X\n' >"$D/S/sub.equation"
printf 'class Foo {\npublic:\n  int f() { return 1; }\n};\n' >"$D/F/Foo.h"
printf 'class Extra {\npublic:\n  int e() { return 2; }\n};\n' >"$D/X/Extra.h"
touch -d '-20 seconds' "$D/p.equation" "$D"/F/* "$D"/X/* "$D/S/sub.equation"
run_in "$D" -eq p
expect_rc "-eq derived" 1
contains "-eq derived" "mosa++ : error: cannot compose derivatives of static and non-static modules: P"
[ "$(grep -c 'cannot compose derivatives' <<<"$OUT")" = 1 ] || fail "-eq derived: the error is not told once"
[ -e "$D/.output.p/Foo.h" ] && fail "-eq derived: a class was written after the error"
printf 'S\nP dynamicload\n' >"$D/p.equation"
touch -d '-20 seconds' "$D/p.equation"
run_in "$D" -eq p
expect_rc "-eq derived, no static" 0
[ "$(grep '^layer ' <<<"$OUT" | cut -d: -f1 | tr '\n' ' ')" = "layer X layer S layer P layer S/P " ] \
    || fail "-eq derived: layers: $(grep '^layer ' <<<"$OUT")"
[ -f "$D/.output.p/Foo.h" ] || fail "-eq derived: the derived layer's Foo.h is missing"

[ "$FAILS" = 0 ] || { echo "$FAILS failure(s)"; exit 1; }
echo "all append checks passed"
