#!/bin/bash
# Incremental runs of the built tool over classes that include each other:
# the dependency files, which files are rewritten, touched or keep their
# times, the console lines, and the composed program after each change.
# Usage: incremental.sh <mosa++> <fixtures-dir>
set -u
source "$(dirname "$0")/lib/common.bash" "$1"

# Records the times of the output files; kept/renewed compare with them.
snapshot() { for f in "$O"/*; do echo "$(basename "$f") $(mtime "$f")"; done >"$WORK/times"; }
old_time() { awk -v f="$1" '$1 == f { print $2 }' "$WORK/times"; }
kept() { # what file...
    local what=$1 f
    shift
    for f in "$@"; do
        [ "$(mtime "$O/$f")" = "$(old_time "$f")" ] || fail "$what: $f got a new time"
    done
}
renewed() { # what file...
    local what=$1 f
    shift
    for f in "$@"; do
        [ "$(mtime "$O/$f")" -gt "$(old_time "$f")" ] || fail "$what: $f kept its old time"
    done
}
# All outputs ten seconds old, all modules twenty: the next run sees only
# what a step touches afterwards.
settle() {
    touch -d '-20 seconds' "$P"/A/* "$P"/B/* "$P/prod.equation"
    touch -d '-10 seconds' "$O"/*
    snapshot
}

# Compiles the composed classes with a main and prints what it computes.
program() { # what
    printf '#include "Y.h"\n#include "U.h"\n#include "W.h"\n#include <cstdio>\n' >"$WORK/main.cpp"
    printf 'int main() { Y y; U u; W w; std::printf("%%d %%d %%d\\n", y.fy(), u.fu(), w.fw()); }\n' \
        >>"$WORK/main.cpp"
    if g++ -I"$O" -o "$WORK/prog" "$WORK/main.cpp" "$O"/*.cpp 2>"$WORK/gxx"; then
        "$WORK/prog"
    else
        fail "$1: the composed sources do not compile: $(cat "$WORK/gxx")"
    fi
}

# Product line: Z is introduced by A and refined by B; X holds a Z, Y holds
# an X (so Y's header reaches Z's through X's), U holds a pointer to X and
# uses it in its implementation only, H holds an X and has no
# implementation file, W stands alone.
P="$WORK/p"
O="$P/.output.prod"
mkdir -p "$P/A" "$P/B"
printf 'A\nB\n' >"$P/prod.equation"
printf 'class Z {\npublic:\n  int z;\n  int gz();\n};\nint Z::gz() { return 1; }\n' >"$P/A/Z.h"
write_refinement() { # extra member line, increment
    printf 'refines class Z {\npublic:\n  int gz();%s\n};\nint Z::gz() { return super::gz() + %s; }\n' \
        "$1" "$2" >"$P/B/Z.h"
}
write_refinement "" 1
printf 'class X {\npublic:\n  Z z;\n  int fx();\n};\nint X::fx() { return z.gz() * 10; }\n' >"$P/A/X.h"
printf 'class Y {\npublic:\n  X x;\n  int fy();\n};\nint Y::fy() { return x.fx() + 100; }\n' >"$P/A/Y.h"
printf 'class U {\npublic:\n  X* x;\n  int fu();\n};\nint U::fu() { X local; return local.fx() + 1000; }\n' \
    >"$P/A/U.h"
printf 'class W {\npublic:\n  int fw();\n};\nint W::fw() { return 5; }\n' >"$P/A/W.h"
printf 'class H {\npublic:\n  X x;\n  int fh() { return 7; }\n};\n' >"$P/A/H.h"
touch -d '-20 seconds' "$P"/A/* "$P"/B/* "$P/prod.equation"

# --- First run: every class composed, each records what it includes. ---
run_in "$P" prod
expect_rc "first run" 0
for line in "A/Z (6 LOC)" "B/Z (5 LOC)" "A/X (6 LOC)" "A/Y (6 LOC)" "A/U (6 LOC)" "A/W (5 LOC)" "A/H (5 LOC)" \
    "6 files generated (6 + 0 dependent)"; do
    contains "first run" "$line"
done
lacks "first run" "touch-dep"
lacks "first run" "no changes found"
lacks "first run" "recursive"
expect_dep() { # class, expected text
    [ "$(cat "$O/$1.dep" 2>&1)" = "$2" ] || fail "first run: $1.dep is '$(cat "$O/$1.dep" 2>&1)'"
}
expect_dep Z "src:$P/A/Z.h
src:$P/B/Z.h
fwd:class Z;"
expect_dep X "decl:Z
src:$P/A/X.h
fwd:class X;"
expect_dep Y "decl:X
src:$P/A/Y.h
fwd:class Y;"
expect_dep U "impl:X
src:$P/A/U.h
fwd:class U;"
expect_dep W "src:$P/A/W.h
fwd:class W;"
expect_dep H "decl:X
src:$P/A/H.h
fwd:class H;"
[ -e "$O/H.cpp" ] && fail "first run: H has an implementation file"
[ "$(program "first run")" = "120 1020 5" ] || fail "first run: the program computes '$(program "first run")'"

# --- Unchanged rerun: nothing is parsed, written or touched. ---
settle
run_in "$P" prod
expect_rc "unchanged" 0
contains "unchanged" "0 files generated (0 + 0 dependent)"
lacks "unchanged" " LOC)"
lacks "unchanged" "touch-dep"
kept "unchanged" $(cd "$O" && ls | grep -v -e xml -e mosac.record)

# --- A touched module with the same content: recomposed, identical, so
# both of Z's files get their old times back and no dependant is touched. ---
settle
touch -d '-5 seconds' "$P/B/Z.h"
run_in "$P" prod
expect_rc "touched" 0
contains "touched" "A/Z (6 LOC)"
contains "touched" "B/Z (5 LOC)"
contains "touched" "$O/Z.h : info: no changes found"
contains "touched" "$O/Z.cpp : info: no changes found"
contains "touched" "1 files generated (1 + 0 dependent)"
lacks "touched" "touch-dep"
lacks "touched" "A/X"
kept "touched" Z.h Z.cpp X.h X.cpp Y.h Y.cpp U.h U.cpp W.h W.cpp

# --- Z's implementation alone changes: its header is the same, so no
# dependant is touched; the implementation file is new. ---
settle
write_refinement "" 2
touch -d '-5 seconds' "$P/B/Z.h"
run_in "$P" prod
expect_rc "implementation edit" 0
contains "implementation edit" "$O/Z.h : info: no changes found"
lacks "implementation edit" "$O/Z.cpp : info"
contains "implementation edit" "1 files generated (1 + 0 dependent)"
lacks "implementation edit" "touch-dep"
kept "implementation edit" Z.h X.cpp Y.cpp U.cpp W.cpp
renewed "implementation edit" Z.cpp
grep -qF 'A_gz() + 2' "$O/Z.cpp" || fail "implementation edit: Z.cpp not recomposed"
[ "$(program "implementation edit")" = "130 1030 5" ] || fail "implementation edit: wrong result"

# --- Z's header changes: X (through its header), Y and H (through X's
# header) and U (through the X header its implementation includes) are
# touched, not recomposed; their headers keep their times; W is left
# alone. H, without an implementation file, is counted and gets none. ---
settle
write_refinement $'\n  int extra;' 3
touch -d '-5 seconds' "$P/B/Z.h"
run_in "$P" prod
expect_rc "header edit" 0
for c in X Y U H; do
    contains "header edit" "touch-dep: $O/$c ($c)"
done
lacks "header edit" "error"
[ -e "$O/H.cpp" ] && fail "header edit: the touch made H.cpp"
lacks "header edit" "touch-dep: $O/W"
lacks "header edit" "touch-dep: $O/Z"
lacks "header edit" "no changes found"
lacks "header edit" "A/X"
contains "header edit" "5 files generated (1 + 4 dependent)"
[ "$(grep -c '^touch-dep: ' <<<"$OUT")" = 4 ] || fail "header edit: not four touch-dep lines"
# The touch lines come after the layer lines and right before the summary.
[ "$(tail -n 5 <<<"$OUT" | grep -c '^touch-dep: ')" = 4 ] || fail "header edit: touch lines out of place"
renewed "header edit" Z.h Z.cpp X.cpp Y.cpp U.cpp
kept "header edit" X.h Y.h U.h H.h W.h W.cpp X.dep Y.dep U.dep H.dep W.dep
grep -qF 'int extra;' "$O/Z.h" || fail "header edit: Z.h not recomposed"
[ "$(program "header edit")" = "140 1040 5" ] || fail "header edit: wrong result"

# The touch is not repeated by the next run.
settle
run_in "$P" prod
expect_rc "after the touch" 0
lacks "after the touch" "touch-dep"
contains "after the touch" "0 files generated (0 + 0 dependent)"
kept "after the touch" $(cd "$O" && ls | grep -v -e xml -e mosac.record)

# --- Z's header changes while X is recomposed with the same content: X
# keeps the new times (it depends on a changed header) and is no
# dependant; Y, U and H are touched. ---
settle
write_refinement $'\n  int extra;\n  int more;' 4
touch -d '-5 seconds' "$P/B/Z.h" "$P/A/X.h"
run_in "$P" prod
expect_rc "header edit with X" 0
contains "header edit with X" "A/X (6 LOC)"
lacks "header edit with X" "no changes found"
lacks "header edit with X" "touch-dep: $O/X"
contains "header edit with X" "touch-dep: $O/Y (Y)"
contains "header edit with X" "touch-dep: $O/U (U)"
contains "header edit with X" "touch-dep: $O/H (H)"
contains "header edit with X" "5 files generated (2 + 3 dependent)"
renewed "header edit with X" X.h X.cpp Y.cpp U.cpp
kept "header edit with X" Y.h U.h W.cpp
[ "$(program "header edit with X")" = "150 1050 5" ] || fail "header edit with X: wrong result"

# --- Two headers that include each other, and a third including both: the
# cycle is reported once when the change test meets it, and the run
# completes, with exit code 1 for the error. ---
C="$WORK/c"
mkdir -p "$C/A"
printf 'A\n' >"$C/c.equation"
printf 'class M {\npublic:\n  N n;\n};\n' >"$C/A/M.h"
printf 'class N {\npublic:\n  M m;\n};\n' >"$C/A/N.h"
printf 'class K {\npublic:\n  M m;\n  N n;\n  int k();\n};\nint K::k() { return 1; }\n' >"$C/A/K.h"
touch -d '-20 seconds' "$C/c.equation" "$C"/A/*
run_in "$C" c
expect_rc "cycle first run" 0
contains "cycle first run" "3 files generated (3 + 0 dependent)"
lacks "cycle first run" "recursive"
[ "$(cat "$C/.output.c/M.dep")" = "decl:N
src:$C/A/M.h
fwd:class M;" ] || fail "cycle: M.dep is '$(cat "$C/.output.c/M.dep")'"
for round in unchanged touched; do
    touch -d '-10 seconds' "$C/.output.c"/*
    [ $round = touched ] && touch -d '-5 seconds' "$C/A/K.h"
    run_in "$C" c
    expect_rc "cycle $round" 1
    [ "$(grep -c ' : error: there is a recursive dependency$' <<<"$OUT")" = 1 ] \
        || fail "cycle $round: not one recursion line in:
$OUT"
    grep -qxE '[MN] : error: there is a recursive dependency' <<<"$OUT" \
        || fail "cycle $round: the line names no class of the cycle"
    lacks "cycle $round" "encountered errors"
    lacks "cycle $round" "touch-dep"
    grep -qE '^[0-9]+ files generated' <<<"$OUT" || fail "cycle $round: no summary"
done
contains "cycle touched" "$C/.output.c/K.h : info: no changes found"

[ "$FAILS" = 0 ] || { echo "$FAILS failure(s)"; exit 1; }
echo "all incremental checks passed"
