#!/bin/bash
# Incremental runs give what a run from scratch gives. Each case generates a
# random small product line (classes introduced and refined over several
# layers, super calls, constructors, classes holding or using other classes,
# plain files to append), composes it into one output folder, then applies a
# random sequence of edits; after each edit it composes again into that
# folder and composes the same sources from scratch into a second folder.
# The two folders must hold the same files with the same contents (times
# aside, and apart from the log): outputs that the sources no longer give (a
# plain file whose every source is gone, a class that is gone or whose first
# module is now a refinement) are removed by the incremental run too.
#
# Usage: incremental_property.sh <mosa++> <fixtures-dir>
# MOSA_PROPERTY_SEED (default 2026) and MOSA_PROPERTY_CASES (default 8) pick
# the cases (case n uses the seed plus n); a failing case prints its seed,
# which reruns it alone as MOSA_PROPERTY_SEED with MOSA_PROPERTY_CASES=1.
# MOSA_PROPERTY_KEEP=1 keeps the work folder of the first failing case;
# MOSA_PROPERTY_VERBOSE=1 prints each edit and what the incremental run did.
set -u
WORK=$(mktemp -d)
[ "${MOSA_PROPERTY_KEEP:-0}" = 1 ] || trap 'rm -rf "$WORK"' EXIT
SEED=${MOSA_PROPERTY_SEED:-2026}
CASES=${MOSA_PROPERTY_CASES:-8}
FAILS=0
PASSED=0

# A private copy of the tool, older than anything a case writes, so that its
# time never asks for a full rebuild.
mkdir "$WORK/bin"
cp "$1" "$WORK/bin/mosa++"
[ -d "$(dirname "$1")/codetemplates" ] && cp -r "$(dirname "$1")/codetemplates" "$WORK/bin/"
touch -d '-1 day' "$WORK/bin/mosa++"
TOOL="$WORK/bin/mosa++"

# --- Random numbers: a fixed generator, the same on every bash. ---
STATE=1
seed() {
    STATE=$((($1 * 7919 + 104729) & 0x7fffffff))
    rnd 2
    rnd 2
}
# Sets R to a number in [0, $1).
rnd() {
    STATE=$(((STATE * 1103515245 + 12345) & 0x7fffffff))
    R=$(((STATE >> 8) % $1))
}
# Sets R to 1 with chance 1 in $1, else 0.
chance() { rnd "$1"; [ "$R" = 0 ] && R=1 || R=0; }

NAMES=(Ant Bee Dog Elk Fox)
# Fox.cpp clashes with the composed class Fox once an edit adds that class,
# and beside Fox.h it makes that header a plain file.
PLAIN=(notes.txt helper.cpp Fox.cpp)

# --- The product line: SRC/p.equation, layers SRC/L0.. ---
# NL layers, NC classes; INTRO[i] is the layer introducing class i; USED[i]
# is set once class i is held or used by another class.
NOW=$(date +%s)
settime() { touch -d "@$1" "$2"; }

# Sets j to one of the classes below class $1 that are there (introduced);
# false when there is none. A class named before it exists would change
# the composition of the class naming it when it comes, which only a change
# of that class's own modules makes the tool see.
pick_other() {
    local x cand=()
    for ((x = 0; x < $1; ++x)); do
        [ -f "$SRC/L${INTRO[$x]}/${NAMES[$x]}.h" ] && cand+=("$x")
    done
    [ ${#cand[@]} = 0 ] && return 1
    rnd ${#cand[@]}
    j=${cand[$R]}
}

# Writes the introduction of class $1 (index) into layer $2. Its method g
# is defined after the class (an implementation output) or, one time in
# three, inside it (no implementation output).
write_intro() {
    local i=$1 k=$2 name=${NAMES[$1]} f="$SRC/L$2/${NAMES[$1]}.h"
    local field="" use="" j body="" inside
    if [ "$i" -gt 0 ]; then
        chance 3
        if [ "$R" = 1 ] && pick_other "$i"; then
            use=${NAMES[$j]}; USED[$j]=1
            chance 2
            if [ "$R" = 1 ]; then
                rnd 10
                body="    $use* other = new $use;
    int r = other->f() + $R;
    delete other;
    return r;"
            else
                rnd 10
                body="    $use other;
    return other.f() + f() + $R;"
            fi
        fi
    fi
    [ -z "$use" ] && { rnd 10; body="    return f() * $R;"; }
    chance 3; inside=$R
    {
        rnd 3; [ "$R" = 0 ] && echo "#include <cstdio>"
        echo "// class $name, introduced in L$k"
        chance 4
        if [ "$i" -gt 0 ] && [ "$R" = 1 ] && pick_other "$i"; then
            USED[$j]=1
            echo "class $name : mixin ${NAMES[$j]} {"
        else
            echo "class $name {"
        fi
        echo "public:"
        rnd 100; echo "    $name() : m_v($R) {}"
        rnd 100; echo "    int f() { return m_v + $R; }"
        if [ "$inside" = 1 ]; then
            printf '    int g()\n    {\n%s\n    }\n' "$body"
        else
            echo "    int g();"
        fi
        rnd 2; [ "$R" = 0 ] && { rnd 50; echo "    static int s() { return $R; }"; }
        echo "private:"
        echo "    int m_v;"
        if [ "$i" -gt 0 ]; then
            chance 2
            if [ "$R" = 1 ] && pick_other "$i"; then
                field=${NAMES[$j]}; USED[$j]=1
                echo "    ${field} m_${field,,};"
            fi
        fi
        echo "};"
        [ "$inside" = 1 ] || printf '\nint %s::g()\n{\n%s\n}\n' "$name" "$body"
    } >"$f"
}

# Writes a refinement of class $1 (index) into layer $2.
write_refinement() {
    local i=$1 k=$2 name=${NAMES[$1]} f="$SRC/L$2/${NAMES[$1]}.h" j
    {
        echo "// refinement of $name in L$k"
        echo "refines class $name {"
        echo "public:"
        chance 2; [ "$R" = 1 ] && { rnd 100; echo "    $name() : m_w$k($R) {}"; }
        chance 3
        if [ "$R" = 1 ]; then
            rnd 10; echo "    int f() { return $R; }"
        else
            rnd 10; echo "    int f() { return super::f() + $R; }"
        fi
        chance 2; [ "$R" = 1 ] && { rnd 10; echo "    int h$k() { return f() - $R; }"; }
        chance 2; [ "$R" = 1 ] && echo "    int g();"
        echo "private:"
        echo "    int m_w$k;"
        if [ "$i" -gt 0 ]; then
            chance 4
            if [ "$R" = 1 ] && pick_other "$i"; then
                USED[$j]=1
                echo "    ${NAMES[$j]} m_${NAMES[$j],,}$k;"
            fi
        fi
        echo "};"
    } >"$f"
    if grep -q '^    int g();' "$f"; then
        rnd 10
        printf '\nint %s::g()\n{\n    return super::g() + %d;\n}\n' "$name" "$R" >>"$f"
    fi
}

# Writes the plain file $2 (index into PLAIN) of layer $1.
write_plain() {
    local k=$1 f="$SRC/L$1/${PLAIN[$2]}"
    rnd 1000
    case $2 in
    0) printf 'notes of layer %d: %d\n' "$k" "$R" >"$f" ;;
    1) printf 'int helper_%d() { return %d; }\n' "$k" "$R" >"$f" ;;
    2) printf 'int fox_%d() { return %d; }\n' "$k" "$R" >"$f" ;;
    esac
}

# Every module file of class $1, as layer numbers.
module_layers() {
    LAYERS=()
    local k
    for ((k = 0; k < NL; ++k)); do
        [ -f "$SRC/L$k/${NAMES[$1]}.h" ] && LAYERS+=("$k")
    done
}

new_line() {
    SRC="$WORK/case/src"
    rm -rf "$WORK/case"
    mkdir -p "$SRC"
    rnd 3; NL=$((R + 2))
    rnd 3; NC=$((R + 2))
    USED=()
    local k i p
    : >"$SRC/p.equation"
    for ((k = 0; k < NL; ++k)); do
        mkdir "$SRC/L$k"
        echo "L$k" >>"$SRC/p.equation"
    done
    for ((i = 0; i < NC; ++i)); do
        rnd $((NL - 1)); INTRO[$i]=$R
        write_intro "$i" "${INTRO[$i]}"
        for ((k = INTRO[i] + 1; k < NL; ++k)); do
            chance 2; [ "$R" = 1 ] && write_refinement "$i" "$k"
        done
    done
    for ((k = 0; k < NL; ++k)); do
        for p in 0 1 2; do
            chance 3; [ "$R" = 1 ] && write_plain "$k" "$p"
        done
    done
    # Everything, the equation too, older than what the first run writes.
    find "$SRC" -type f -exec touch -d '-1 hour' {} +
}

# --- Edits. Each sets EDIT to a description. ---
# Module files come "now" (newer than every output, see age_all) unless an
# edit gives an old time on purpose.
OLD=$((NOW - 7200))

edit_change_method() {
    local i k
    rnd "$NC"; i=$R
    module_layers "$i"
    [ ${#LAYERS[@]} = 0 ] && LAYERS=("${INTRO[$i]}")
    rnd ${#LAYERS[@]}; k=${LAYERS[$R]}
    if [ "$k" = "${INTRO[$i]}" ]; then write_intro "$i" "$k"; else write_refinement "$i" "$k"; fi
    EDIT="change L$k/${NAMES[$i]}.h"
}

edit_change_used() {
    local i cand=()
    for ((i = 0; i < NC; ++i)); do [ -n "${USED[$i]:-}" ] && cand+=("$i"); done
    [ ${#cand[@]} = 0 ] && { edit_change_method; return; }
    rnd ${#cand[@]}; i=${cand[$R]}
    write_intro "$i" "${INTRO[$i]}"
    EDIT="change used class L${INTRO[$i]}/${NAMES[$i]}.h"
}

# Adds a refinement ($1 = old: with a time in the past).
edit_add_refinement() {
    local i k cand=()
    for ((i = 0; i < NC; ++i)); do
        for ((k = INTRO[i] + 1; k < NL; ++k)); do
            [ -f "$SRC/L$k/${NAMES[$i]}.h" ] || cand+=("$i:$k")
        done
    done
    [ ${#cand[@]} = 0 ] && { edit_change_method; return; }
    rnd ${#cand[@]}; i=${cand[$R]%:*}; k=${cand[$R]#*:}
    write_refinement "$i" "$k"
    EDIT="add L$k/${NAMES[$i]}.h"
    if [ "${1:-}" = old ]; then
        settime "$OLD" "$SRC/L$k/${NAMES[$i]}.h"
        EDIT="$EDIT with an old time"
    fi
}

# Adds a new class ($1 = old: with a time in the past).
# A class whose introduction was removed gets it back first.
edit_add_class() {
    local i
    for ((i = 0; i < NC; ++i)); do
        [ -f "$SRC/L${INTRO[$i]}/${NAMES[$i]}.h" ] || break
    done
    if [ "$i" = "$NC" ]; then
        [ "$NC" -ge ${#NAMES[@]} ] && { edit_add_refinement "${1:-}"; return; }
        NC=$((NC + 1))
        rnd $((NL - 1)); INTRO[$i]=$R
    fi
    write_intro "$i" "${INTRO[$i]}"
    EDIT="add class L${INTRO[$i]}/${NAMES[$i]}.h"
    if [ "${1:-}" = old ]; then
        settime "$OLD" "$SRC/L${INTRO[$i]}/${NAMES[$i]}.h"
        EDIT="$EDIT with an old time"
    fi
}

edit_remove_refinement() {
    local i k cand=()
    for ((i = 0; i < NC; ++i)); do
        for ((k = INTRO[i] + 1; k < NL; ++k)); do
            [ -f "$SRC/L$k/${NAMES[$i]}.h" ] && cand+=("$i:$k")
        done
    done
    [ ${#cand[@]} = 0 ] && { edit_add_refinement; return; }
    rnd ${#cand[@]}; i=${cand[$R]%:*}; k=${cand[$R]#*:}
    rm "$SRC/L$k/${NAMES[$i]}.h"
    EDIT="remove L$k/${NAMES[$i]}.h"
}

# Removes the introduction of a class that no other class names: its
# refinements (if any) are left without a first module.
edit_remove_intro() {
    local i cand=()
    for ((i = 0; i < NC; ++i)); do
        [ -z "${USED[$i]:-}" ] && [ -f "$SRC/L${INTRO[$i]}/${NAMES[$i]}.h" ] && cand+=("$i")
    done
    [ ${#cand[@]} = 0 ] && { edit_remove_refinement; return; }
    rnd ${#cand[@]}; i=${cand[$R]}
    rm "$SRC/L${INTRO[$i]}/${NAMES[$i]}.h"
    EDIT="remove class introduction L${INTRO[$i]}/${NAMES[$i]}.h"
}

edit_touch() {
    local files
    mapfile -t files < <(find "$SRC" -mindepth 2 -type f | sort)
    rnd ${#files[@]}
    touch "${files[$R]}"
    EDIT="touch ${files[$R]#$SRC/}"
}

edit_plain() {
    local k p f
    rnd "$NL"; k=$R
    rnd ${#PLAIN[@]}; p=$R
    f="$SRC/L$k/${PLAIN[$p]}"
    if [ -f "$f" ]; then
        chance 2
        if [ "$R" = 1 ]; then
            rm "$f"
            EDIT="remove L$k/${PLAIN[$p]}"
            return
        fi
        write_plain "$k" "$p"
        EDIT="change L$k/${PLAIN[$p]}"
    else
        write_plain "$k" "$p"
        EDIT="add L$k/${PLAIN[$p]}"
    fi
}

# A full rebuild: the equation newer than the outputs.
edit_touch_equation() {
    touch "$SRC/p.equation"
    EDIT="touch p.equation"
}

random_edit() {
    chance 25
    [ "$R" = 1 ] && { edit_touch_equation; return; }
    rnd 10
    case $R in
    0 | 1) edit_change_method ;;
    2) edit_change_used ;;
    3) edit_add_refinement ;;
    4) edit_add_refinement old ;;
    5) edit_remove_refinement ;;
    6) edit_touch ;;
    7) edit_plain ;;
    8) rnd 2; [ "$R" = 0 ] && edit_add_class || edit_add_class old ;;
    9) rnd 3; [ "$R" = 0 ] && edit_remove_intro || edit_change_used ;;
    esac
}

# Moves every time of the sources and of the incremental output 2 seconds
# back, so that what an edit writes now is newer than every output while the
# order of all other times stays as it was.
age_all() {
    find "$SRC" "$INC" -type f -print0 |
        perl -0 -ne 'chomp; my @s = stat; utime($s[8] - 2, $s[9] - 2, $_) if @s;'
}

# Composes SRC into folder $1; sets RC and leaves the console in $1.console.
compose() {
    (cd "$SRC" && "$TOOL" -o="$1" p.equation >"$1.console" 2>&1)
    RC=$?
}

# Compares the incremental and the scratch folder; sets DIFF to the report.
compare() {
    DIFF=""
    local f name
    while IFS= read -r f; do
        name=${f#./}
        [ "$name" = mosac.log.xml ] && continue
        if [ ! -f "$FULL/$name" ]; then
            DIFF+="only in the incremental folder: $name"$'\n'
        elif ! cmp -s "$INC/$name" "$FULL/$name"; then
            DIFF+="differs: $name"$'\n'"$(diff "$FULL/$name" "$INC/$name" | head -20)"$'\n'
        fi
    done < <(cd "$INC" && find . -type f | sort)
    while IFS= read -r f; do
        name=${f#./}
        [ "$name" = mosac.log.xml ] && continue
        [ -f "$INC/$name" ] || DIFF+="missing in the incremental folder: $name"$'\n'
    done < <(cd "$FULL" && find . -type f | sort)
}

# Composes the edited sources incrementally and from scratch and compares;
# $1 names the case in messages. False on a failure, which is reported.
check_step() {
    compose "$INC"
    [ "$RC" = 0 ] || { echo "FAIL $1: incremental run exit $RC after:"; echo -n "$HISTORY"; cat "$INC.console"; return 1; }
    # The equation goes back to its old time, so that a rebuild it asked
    # for is not asked for again.
    touch -d '-1 hour' "$SRC/p.equation"
    rm -rf "$FULL" "$FULL.console"
    compose "$FULL"
    [ "$RC" = 0 ] || { echo "FAIL $1: scratch run exit $RC after:"; echo -n "$HISTORY"; cat "$FULL.console"; return 1; }
    compare
    if [ "${MOSA_PROPERTY_VERBOSE:-0}" = 1 ]; then
        echo "$HISTORY" | tail -n 2
        grep -E 'touch-dep|no changes|generated|appended|warning|error|^L[0-9]/' "$INC.console" | sed 's/^/      /'
    fi
    if [ -n "$DIFF" ]; then
        echo "FAIL $1: incremental output differs after:"
        echo -n "$HISTORY"
        echo -n "$DIFF"
        echo "incremental console:"
        cat "$INC.console"
        return 1
    fi
}

# Sets up an empty case with layers L0..L$(($1 - 1)).
begin_case() {
    SRC="$WORK/case/src"
    INC="$WORK/case/inc"
    FULL="$WORK/case/full"
    HISTORY=""
    rm -rf "$WORK/case"
    mkdir -p "$SRC"
    : >"$SRC/p.equation"
    local k
    for ((k = 0; k < $1; ++k)); do
        mkdir "$SRC/L$k"
        echo "L$k" >>"$SRC/p.equation"
    done
}

# The first composition of a case, sources an hour old.
first_run() {
    find "$SRC" -type f -exec touch -d '-1 hour' {} +
    compose "$INC"
    [ "$RC" = 0 ] || { echo "FAIL $1: first run exit $RC"; cat "$INC.console"; return 1; }
}

run_case() { # seed
    seed "$1"
    local step steps
    new_line
    INC="$WORK/case/inc"
    FULL="$WORK/case/full"
    HISTORY=""
    first_run "seed $1" || return 1
    rnd 6; steps=$((R + 3))
    for ((step = 1; step <= steps; ++step)); do
        age_all
        random_edit
        HISTORY+="  $step: $EDIT"$'\n'
        check_step "seed $1" || return 1
    done
    return 0
}

# --- Cases found by the random runs, kept as fixed sequences. ---
module() { printf '%s' "$2" >"$SRC/$1"; }
edit() { # description command...
    age_all
    HISTORY+="  $1"$'\n'
    shift
    "$@"
}
DIRECTED=0

# A class whose code after the class is moved into it: the implementation
# file of the last run must not stay beside the new header.
begin_case 1
module L0/Ant.h $'class Ant {\npublic:\n    int g();\n};\n\nint Ant::g() { return 1; }\n'
first_run "impl gone" || FAILS=$((FAILS + 1))
edit "g moved into the class" module L0/Ant.h $'class Ant {\npublic:\n    int g() { return 2; }\n};\n'
check_step "impl gone" || FAILS=$((FAILS + 1))
DIRECTED=$((DIRECTED + 1))

# A class that is gone for a run and comes back with an old time.
begin_case 1
module L0/Ant.h $'class Ant {\npublic:\n    int g() { return 1; }\n};\n'
module L0/Bee.h $'class Bee {\npublic:\n    int f();\n};\nint Bee::f() { return 1; }\n'
first_run "class back" || FAILS=$((FAILS + 1))
edit "remove L0/Bee.h" rm "$SRC/L0/Bee.h"
check_step "class back" || FAILS=$((FAILS + 1))
edit "L0/Bee.h back, other code, old time" module L0/Bee.h $'class Bee {\npublic:\n    int f();\n};\nint Bee::f() { return 2; }\n'
settime $((NOW - 7200)) "$SRC/L0/Bee.h"
check_step "class back" || FAILS=$((FAILS + 1))
DIRECTED=$((DIRECTED + 1))

# A class left with a refinement as first module, whose introduction comes
# back with an old time.
begin_case 2
module L0/Ant.h $'class Ant {\npublic:\n    int g() { return 1; }\n};\n'
module L1/Ant.h $'refines class Ant {\npublic:\n    int g() { return super::g() + 1; }\n};\n'
first_run "introduction back" || FAILS=$((FAILS + 1))
edit "remove L0/Ant.h" rm "$SRC/L0/Ant.h"
check_step "introduction back" || FAILS=$((FAILS + 1))
edit "L0/Ant.h back, other code, old time" module L0/Ant.h $'class Ant {\npublic:\n    int g() { return 7; }\n};\n'
settime $((NOW - 7200)) "$SRC/L0/Ant.h"
check_step "introduction back" || FAILS=$((FAILS + 1))
DIRECTED=$((DIRECTED + 1))

for ((c = 0; c < CASES; ++c)); do
    case_seed=$((SEED + c))
    if run_case "$case_seed"; then
        PASSED=$((PASSED + 1))
    else
        FAILS=$((FAILS + 1))
        [ "${MOSA_PROPERTY_KEEP:-0}" = 1 ] && { echo "kept: $WORK/case"; exit 1; }
    fi
done

echo "incremental property: $DIRECTED fixed sequences, $PASSED of $CASES random cases passed (seed $SEED)"
[ "$FAILS" = 0 ]
