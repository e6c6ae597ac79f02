#!/bin/bash
# Incremental runs give what a run from scratch gives. Each case generates a
# random small product line (classes introduced and refined over several
# layers, super calls, constructors, classes holding or using other classes,
# plain files to append), composes it into one output folder, then applies a
# random sequence of steps; after each step it composes again into that
# folder and composes the same sources, with the same options, from scratch
# into a second folder. A step edits the sources, and:
# - some steps write their edit in the same second as the end of the last
#   run, 1ns to under a second after it (times set to the nanosecond);
# - in cases of four seeds out of eight the layers above the first carry
#   dynamicload, dynamiclink or bindingunit (the top one dynamicload), so
#   that classes are composed per binding unit and the classes creating or
#   holding them get the product-line pointer through the class-access graph;
# - in cases of two seeds out of four the main equation imports a second
#   one, sub.equation, that lists some of the layers, and some steps add a
#   layer line to it, remove one or remove them all;
# - some steps change the options that shape the output (none, -noline,
#   -namespace, -namespace=nsx, or two of them);
# - in the cases of every other seed, some steps start the incremental run
#   and kill it (SIGKILL) after a random short delay, once or several
#   times, before running it again; these cases get 20 to 30 more classes,
#   so that a run lasts as long as the delays.
# The two folders must hold the same files with the same contents (times
# aside, and apart from the log; the record mosac.record included): outputs
# that the sources no longer give (a plain file whose every source is gone,
# a class that is gone or whose first module is now a refinement) are
# removed by the incremental run too, and no temporary of a killed run is
# left. Both runs must end with the same exit code, and a failing one must
# report an error. Moreover:
# - a file the tool did not write, kept in the incremental folder, survives
#   every run with its contents;
# - a killed run leaves every output whole: each holds what it held before
#   the run or what the scratch run wrote;
# - the run after a killed one that left the record "state running" says
#   "previous run did not finish.. rebuilding complete sources", and only
#   then; otherwise a run after a change of options says "options changed..
#   rebuilding complete sources", one after an edit of an equation file
#   "equation changed after <time>.. rebuilding complete sources".
#
# Usage: incremental_property.sh <mosa++> <fixtures-dir>
# MOSA_PROPERTY_SEED (default 2026) and MOSA_PROPERTY_CASES (default 8) pick
# the cases (case n uses the seed plus n); a failing case prints its seed,
# which reruns it alone as MOSA_PROPERTY_SEED with MOSA_PROPERTY_CASES=1
# (where a kill lands is not repeatable: the history says what it hit).
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
# Sets R to a number in [0, $1), taken from the top bits of the state: the
# low bits of this generator repeat after a few hundred draws.
rnd() {
    STATE=$(((STATE * 1103515245 + 12345) & 0x7fffffff))
    R=$((((STATE >> 8) * $1) >> 23))
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

# Sets j to one of the classes below class $1 that are there (introduced in
# a layer of the equation); false when there is none. A class named before
# it exists would change the composition of the class naming it when it
# comes, which only a change of that class's own modules makes the tool
# see. So the introduction of a named class stays, and so does its layer.
pick_other() {
    local x cand=()
    for ((x = 0; x < $1; ++x)); do
        [ -f "$SRC/L${INTRO[$x]}/${NAMES[$x]}.h" ] && composed "${INTRO[$x]}" && cand+=("$x")
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

# True when layer $1 is in the composition: not one that sub.equation can
# hold, or one it holds.
composed() {
    [ "$IMPORT" = 0 ] || [ "$1" -lt "$SUBLO" ] || [ "$1" -ge "$SUBHI" ] || [ -n "${SUBIN[$1]:-}" ]
}

# Writes sub.equation: the layers SUBIN holds, bottom first.
write_sub() {
    local k
    for ((k = 0; k < NL; ++k)); do
        [ -n "${SUBIN[$k]:-}" ] && echo "L$k${LOPT[$k]}"
    done >"$SRC/sub.equation"
}

new_line() {
    SRC="$WORK/case/src"
    rm -rf "$WORK/case"
    mkdir -p "$SRC"
    rnd 3; NL=$((R + 2))
    rnd 3; NC=$((R + 2))
    USED=()
    local k i p
    # Of four seeds in a row, two import layers SUBLO..SUBHI-1 from
    # sub.equation (the main equation keeps at least L0, so that it never
    # lists no layer) and two kill runs, in every combination.
    IMPORT=$((CASE_SEED / 2 % 2))
    if [ "$IMPORT" = 1 ]; then
        rnd $((NL - 1)); SUBLO=$((R + 1))
        rnd $((NL - SUBLO)); SUBHI=$((SUBLO + R + 1))
    fi
    SUBIN=()
    # Of eight seeds in a row, four give the layers above L0 binding
    # options, the top layer always dynamicload: classes refined across
    # them are composed per binding unit, and the classes that create or
    # hold them need the product-line pointer.
    DYN=$((CASE_SEED / 4 % 2))
    LOPT=()
    for ((k = 0; k < NL; ++k)); do
        LOPT[$k]=""
        [ "$DYN" = 1 ] && [ "$k" -gt 0 ] || continue
        rnd 4
        case $R in
        1) LOPT[$k]=" dynamicload" ;;
        2) LOPT[$k]=" dynamiclink" ;;
        3) LOPT[$k]=" bindingunit u$k" ;;
        esac
        [ "$k" = $((NL - 1)) ] && LOPT[$k]=" dynamicload"
    done
    : >"$SRC/p.equation"
    for ((k = 0; k < NL; ++k)); do
        mkdir "$SRC/L$k"
        if [ "$IMPORT" = 1 ] && [ "$k" -ge "$SUBLO" ] && [ "$k" -lt "$SUBHI" ]; then
            SUBIN[$k]=1
            [ "$k" = "$SUBLO" ] && echo "import sub as ." >>"$SRC/p.equation"
        else
            echo "L$k${LOPT[$k]}" >>"$SRC/p.equation"
        fi
    done
    [ "$IMPORT" = 1 ] && write_sub
    # A case that kills runs gets 20 to 30 more classes, introduced in L0
    # and refined in every layer above, which no edit changes (but a kill
    # can cut their writing), so that a run lasts as long as the delays of
    # the kills.
    KILL_CASE=$((CASE_SEED % 2))
    if [ "$KILL_CASE" = 1 ]; then
        rnd 11
        for ((i = 0; i < R + 20; ++i)); do
            printf 'class Pad%d {\npublic:\n    int f() { return %d; }\n    int g();\n};\n\nint Pad%d::g() { return f() + 1; }\n' \
                "$i" "$i" "$i" >"$SRC/L0/Pad$i.h"
            for ((k = 1; k < NL; ++k)); do
                printf 'refines class Pad%d {\npublic:\n    int f() { return super::f() + %d; }\n};\n' \
                    "$i" "$k" >"$SRC/L$k/Pad$i.h"
            done
        done
    fi
    for ((i = 0; i < NC; ++i)); do
        rnd $((NL - 1)); INTRO[$i]=$R
        write_intro "$i" "${INTRO[$i]}"
        for ((k = INTRO[i] + 1; k < NL; ++k)); do
            # Classes other than the first are seldom refined in a layer
            # with a binding option: most stay in one unit and reach the
            # classes composed per unit through the class-access graph.
            if [ -n "${LOPT[$k]}" ] && [ "$i" -gt 0 ]; then chance 4; else chance 2; fi
            [ "$R" = 1 ] && write_refinement "$i" "$k"
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
    CHANGED="$i:$k"
}

# Changes again the module that the last step changed ($1 = class:layer),
# whose class the last run composed: its outputs are as new as the run.
edit_again() {
    local i=${1%:*} k=${1#*:}
    if [ "$k" = "${INTRO[$i]}" ]; then write_intro "$i" "$k"; else write_refinement "$i" "$k"; fi
    EDIT="change L$k/${NAMES[$i]}.h again"
    CHANGED="$i:$k"
}

edit_change_used() {
    local i cand=()
    for ((i = 0; i < NC; ++i)); do [ -n "${USED[$i]:-}" ] && cand+=("$i"); done
    [ ${#cand[@]} = 0 ] && { edit_change_method; return; }
    rnd ${#cand[@]}; i=${cand[$R]}
    write_intro "$i" "${INTRO[$i]}"
    EDIT="change used class L${INTRO[$i]}/${NAMES[$i]}.h"
    CHANGED="$i:${INTRO[$i]}"
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
    mapfile -t files < <(find "$SRC" -mindepth 2 -type f ! -name 'Pad*' | sort)
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

# A full rebuild: an equation file (the main one or the imported one) newer
# than the outputs.
edit_touch_equation() {
    local e=p
    [ "$IMPORT" = 1 ] && { rnd 2; [ "$R" = 0 ] && e=sub; }
    touch "$SRC/$e.equation"
    EDIT="touch $e.equation"
    EQ_EDIT=1
}

# Adds a layer line to the imported equation or removes one, or removes
# them all; the order of the layers stays. A full rebuild. A layer that
# introduces a class another class names stays (see pick_other).
edit_sub_equation() {
    local i k op present=() removable=() missing=() pinned
    for ((k = SUBLO; k < SUBHI; ++k)); do
        [ -n "${SUBIN[$k]:-}" ] || { missing+=("$k"); continue; }
        present+=("$k")
        pinned=0
        for ((i = 0; i < NC; ++i)); do
            [ -n "${USED[$i]:-}" ] && [ "${INTRO[$i]}" = "$k" ] && pinned=1
        done
        [ "$pinned" = 0 ] && removable+=("$k")
    done
    rnd 5; op=$R # 0: empty it, 1-2: add a layer, 3-4: remove one
    [ "$op" = 0 ] && { [ ${#present[@]} = 0 ] || [ ${#removable[@]} != ${#present[@]} ]; } && op=3
    [ "$op" -ge 3 ] && [ ${#removable[@]} = 0 ] && op=1
    [ "$op" -ge 1 ] && [ "$op" -le 2 ] && [ ${#missing[@]} = 0 ] && op=3
    if [ "$op" -ge 3 ] && [ ${#removable[@]} = 0 ]; then
        edit_change_method
        return
    fi
    if [ "$op" = 0 ]; then
        SUBIN=()
        EDIT="sub.equation emptied"
    elif [ "$op" -le 2 ]; then
        rnd ${#missing[@]}; k=${missing[$R]}
        SUBIN[$k]=1
        EDIT="sub.equation with L$k"
    else
        rnd ${#removable[@]}; k=${removable[$R]}
        unset "SUBIN[$k]"
        EDIT="sub.equation without L$k"
    fi
    write_sub
    EQ_EDIT=1
}

random_edit() {
    chance 25
    [ "$R" = 1 ] && { edit_touch_equation; return; }
    if [ "$IMPORT" = 1 ]; then
        chance 4
        [ "$R" = 1 ] && { edit_sub_equation; return; }
    fi
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

# --- Edits in the same second as the end of the last run. ---
# same_second_begin draws how far after the last output (in nanoseconds) the
# edit lands and notes the times of the sources; same_second_end gives every
# file the edit wrote (a new time, not one set into the past) that time, in
# the whole second of the last output. When that second has no nanosecond
# left, the step ages all times instead. The draws do not depend on the
# times, so that a seed repeats its edits.
same_second_begin() {
    local last big
    rnd 4
    case $R in
    0) GAP=1 ;;
    1) GAP=1000 ;;
    2) GAP=999999 ;;
    3) rnd 1000; big=$R; rnd 1000000; GAP=$((big * 1000000 + R + 1)) ;;
    esac
    last=$(find "$INC" -type f -exec stat -c %.9Y {} + | sort -n | tail -n 1)
    LAST_S=${last%.*}
    LAST_NS=$((10#${last#*.}))
    [ "$LAST_NS" -lt 999999999 ] || { age_all; GAP=0; return; }
    [ $((LAST_NS + GAP)) -le 999999999 ] || GAP=$((999999999 - LAST_NS))
    find "$SRC" -type f -exec stat -c '%.9Y %n' {} + | sort >"$WORK/times.before"
}
same_second_end() {
    [ "$GAP" = 0 ] && { EDIT+=" (no nanosecond left in the second: aged)"; return; }
    local t f when n=0
    when=$(printf '%d.%09d' "$LAST_S" $((LAST_NS + GAP)))
    find "$SRC" -type f -exec stat -c '%.9Y %n' {} + | sort >"$WORK/times.after"
    while read -r t f; do
        [ "${t%.*}" -ge "$LAST_S" ] && touch -d "@$when" "$f" && n=$((n + 1))
    done < <(comm -13 "$WORK/times.before" "$WORK/times.after")
    [ "$n" = 0 ] && return
    EDIT+=" (same second, ${GAP}ns after the last output)"
    SAME_SECOND=$((SAME_SECOND + 1))
}

# --- Options that shape the output; both folders get the same. ---
OPTION_SETS=("" "-noline" "-namespace" "-namespace=nsx" "-noline -namespace=nsx")
OPTS=""
change_options() {
    local was=$OPTS
    while [ "$OPTS" = "$was" ]; do
        rnd ${#OPTION_SETS[@]}; OPTS=${OPTION_SETS[$R]}
    done
    OPTS_CHANGED=1
    OPTION_CHANGES=$((OPTION_CHANGES + 1))
}

# Composes SRC into folder $1 with OPTS; sets RC and leaves the console in
# $1.console.
compose() {
    # shellcheck disable=SC2086 # OPTS is a list of words
    (cd "$SRC" && "$TOOL" $OPTS -o="$1" p.equation >"$1.console" 2>&1)
    RC=$?
}

# A file the tool did not write, in the incremental folder from its start.
MINE=mine.txt
MINE_TEXT="not written by the tool"

# Compares the incremental and the scratch folder; sets DIFF to the report.
compare() {
    DIFF=""
    local line name
    while IFS= read -r line; do
        case $line in
        "Only in $INC: "*) DIFF+="only in the incremental folder: ${line#*: }"$'\n' ;;
        "Only in $FULL: "*) DIFF+="missing in the incremental folder: ${line#*: }"$'\n' ;;
        Files*differ)
            name=${line#Files "$FULL"/}; name=${name%% *}
            DIFF+="differs: $name"$'\n'"$(diff "$FULL/$name" "$INC/$name" | head -20)"$'\n' ;;
        *) DIFF+="$line"$'\n' ;;
        esac
    done < <(diff -rq -x mosac.log.xml -x "$MINE" "$FULL" "$INC" 2>&1)
    [ "$(cat "$INC/$MINE" 2>/dev/null)" = "$MINE_TEXT" ] ||
        DIFF+="$MINE, which the tool did not write, is gone or changed"$'\n'
}

# --- Killed runs. ---
# Kill delays in seconds, counted from the start of the process (one kill in
# six; the start-up before the run writes anything takes longer than these
# delays) or from the moment the run rewrites its record, which it does
# when it begins to write.
DELAYS=(0 0 0.001 0.002 0.003 0.005 0.008 0.012 0.020 0.030)

# Starts the incremental run in the background and kills it with SIGKILL;
# sets KILLED to a description and RECORD_STATE to the first line of the
# record it left. Then every output in the folder must be whole: it holds
# what it held before the run or what the scratch run wrote (temporaries
# aside). False, with DIFF set, when one is not.
kill_run() {
    local pid from d st line name bad=""
    rnd 6; from=$R
    rnd ${#DELAYS[@]}; d=${DELAYS[$R]}
    rm -rf "$WORK/before"
    cp -a "$INC" "$WORK/before"
    : >"$WORK/mark"
    # shellcheck disable=SC2086
    (cd "$SRC" && exec "$TOOL" $OPTS -o="$INC" p.equation >"$INC.console" 2>&1) &
    pid=$!
    if [ "$from" = 0 ]; then
        KILLED="${d}s after the start"
    else
        KILLED="${d}s after the record"
        # Until the record is rewritten or the run has ended (a zombie).
        while [ ! "$INC/mosac.record" -nt "$WORK/mark" ]; do
            read -r _ _ st _ <"/proc/$pid/stat" 2>/dev/null || break
            [ "$st" = Z ] && break
        done
    fi
    [ "$d" = 0 ] || sleep "$d"
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    RECORD_STATE=""
    [ -f "$INC/mosac.record" ] && read -r RECORD_STATE <"$INC/mosac.record"
    KILLS=$((KILLS + 1))
    if [ ! "$INC/mosac.record" -nt "$WORK/mark" ]; then
        KILLED+=" (before it wrote)"
    elif [ "$RECORD_STATE" = "state running" ]; then
        KILLED+=" (mid-run)"
        KILLS_MID=$((KILLS_MID + 1))
    else
        KILLED+=" (after it finished)"
    fi
    # What the killed run changed in the folder: each file it holds now is
    # the old one or the one the scratch run wrote.
    while IFS= read -r line; do
        case $line in
        "Only in $INC: "*) name=${line#*: } ;;
        Files*differ) name=${line#Files "$WORK/before"/}; name=${name%% *} ;;
        *) continue ;;
        esac
        case $name in
        mosac.log.xml | mosac.record | .*.mosa-new) continue ;;
        esac
        cmp -s "$INC/$name" "$FULL/$name" || bad+="not whole after the kill: $name"$'\n'
    done < <(diff -rq "$WORK/before" "$INC" 2>&1)
    [ -z "$bad" ] || { DIFF=$bad; return 1; }
}

# Composes the edited sources from scratch and incrementally, the latter
# killed KILL_TIMES times first, and compares; $1 names the case in messages.
# False on a failure, which is reported.
check_step() {
    local inc_rc full_rc k expect="" reasons=0 what
    rm -rf "$FULL" "$FULL.console"
    compose "$FULL"
    full_rc=$RC
    RECORD_STATE=""
    for ((k = 0; k < ${KILL_TIMES:-0}; ++k)); do
        if ! kill_run; then
            echo "FAIL $1: a killed run left a part of a file after:"
            echo -n "$HISTORY"
            echo "  kill $((k + 1)): $KILLED"
            echo -n "$DIFF"
            return 1
        fi
        HISTORY+="     kill $((k + 1)): $KILLED"$'\n'
    done
    compose "$INC"
    inc_rc=$RC
    # The equations go back to their old time, so that a rebuild they asked
    # for is not asked for again.
    touch -d '-1 hour' "$SRC/p.equation"
    [ "$IMPORT" = 1 ] && touch -d '-1 hour' "$SRC/sub.equation"
    if [ "$inc_rc" != "$full_rc" ]; then
        echo "FAIL $1: incremental run exit $inc_rc, scratch run exit $full_rc after:"
        echo -n "$HISTORY"
        echo "incremental console:"; cat "$INC.console"
        echo "scratch console:"; cat "$FULL.console"
        return 1
    fi
    if [ "$full_rc" != 0 ] && ! grep -q 'error' "$FULL.console"; then
        echo "FAIL $1: exit $full_rc without an error after:"
        echo -n "$HISTORY"
        cat "$FULL.console"
        return 1
    fi
    # Why the run rebuilds: after a kill only the record tells; otherwise
    # each change that asks for a rebuild names itself when it is the only
    # one.
    what="rebuilding complete sources"
    if [ "${KILL_TIMES:-0}" -gt 0 ]; then
        if [ "$RECORD_STATE" = "state running" ]; then
            grep -qxF "previous run did not finish.. $what" "$INC.console" ||
                expect="previous run did not finish.. $what"
        elif grep -qF "previous run did not finish" "$INC.console"; then
            expect="no 'previous run did not finish' (the record said '$RECORD_STATE')"
        fi
    else
        [ "${OPTS_CHANGED:-0}" = 1 ] && reasons=$((reasons + 1)) && expect="options changed.. $what"
        [ "${EQ_EDIT:-0}" = 1 ] && reasons=$((reasons + 1)) && expect="equation changed after N.. $what"
        if [ "$reasons" -gt 1 ]; then
            grep -q "\.\. $what\$" "$INC.console" && expect=""
        elif [ "$reasons" = 1 ]; then
            grep -qxE "${expect/N/[0-9]+}" "$INC.console" && expect=""
        fi
    fi
    if [ -n "$expect" ]; then
        echo "FAIL $1: the incremental run does not say $expect after:"
        echo -n "$HISTORY"
        cat "$INC.console"
        return 1
    fi
    compare
    if [ "${MOSA_PROPERTY_VERBOSE:-0}" = 1 ]; then
        echo -n "${HISTORY:${STEP_START:-0}}"
        grep -E 'rebuilding|touch-dep|no changes|generated|appended|warning|error|^L[0-9]/' "$INC.console" | sed 's/^/      /'
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
    IMPORT=0
    OPTS=""
    rm -rf "$WORK/case"
    mkdir -p "$SRC"
    : >"$SRC/p.equation"
    local k
    for ((k = 0; k < $1; ++k)); do
        mkdir "$SRC/L$k"
        echo "L$k" >>"$SRC/p.equation"
    done
}

# The first composition of a case, sources an hour old, into a folder that
# holds a file of its own.
first_run() {
    find "$SRC" -type f -exec touch -d '-1 hour' {} +
    mkdir -p "$INC"
    echo "$MINE_TEXT" >"$INC/$MINE"
    compose "$INC"
    [ "$RC" = 0 ] || { echo "FAIL $1: first run exit $RC"; cat "$INC.console"; return 1; }
}

SAME_SECOND=0
SUB_EDITS=0
OPTION_CHANGES=0
KILLS=0
KILLS_MID=0

run_case() { # seed
    seed "$1"
    CASE_SEED=$1
    local step steps same last_changed
    CHANGED=""
    new_line
    INC="$WORK/case/inc"
    FULL="$WORK/case/full"
    HISTORY=""
    OPTS=""
    first_run "seed $1" || return 1
    rnd 6; steps=$((R + 3))
    for ((step = 1; step <= steps; ++step)); do
        EQ_EDIT=0
        OPTS_CHANGED=0
        KILL_TIMES=0
        chance 3; same=$R
        if [ "$same" = 1 ]; then same_second_begin; else age_all; fi
        # A step that changes the options edits nothing one time in two. An
        # edit in the same second changes, one time in two, the module the
        # last step changed.
        last_changed=$CHANGED
        CHANGED=""
        chance 5
        if [ "$R" = 1 ]; then
            change_options
            chance 2
            if [ "$R" = 1 ]; then EDIT="no edit"; else random_edit; fi
        else
            chance 2
            if [ "$same" = 1 ] && [ "$R" = 1 ] && [ -n "$last_changed" ]; then
                edit_again "$last_changed"
            else
                random_edit
            fi
        fi
        [ "$same" = 1 ] && same_second_end
        [ "$OPTS_CHANGED" = 1 ] && EDIT+=", options now '$OPTS'"
        case $EDIT in sub.equation*) SUB_EDITS=$((SUB_EDITS + 1)) ;; esac
        chance 3
        if [ "$KILL_CASE" = 1 ] && [ "$R" = 1 ]; then
            rnd 3; KILL_TIMES=$((R + 1))
            EDIT+=", incremental run killed $KILL_TIMES times"
        fi
        STEP_START=${#HISTORY}
        HISTORY+="  $step: $EDIT"$'\n'
        check_step "seed $1" || return 1
    done
    return 0
}

# --- Cases found by the random runs, kept as fixed sequences. ---
module() { printf '%s' "$2" >"$SRC/$1"; }
edit() { # description command...
    age_all
    STEP_START=${#HISTORY}
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
echo "  steps with an edit in the same second: $SAME_SECOND, imported equation edited: $SUB_EDITS," \
    "options changed: $OPTION_CHANGES, runs killed: $KILLS ($KILLS_MID mid-run)"
[ "$FAILS" = 0 ]
