#!/usr/bin/env bash
# Scaling benchmark: how composing grows with the size of one class and with
# the number of layers. Prints the time of each size and its ratio to the
# smallest; a linear tool doubles its time per doubling of the input.
#
#   bash bench/scaling_bench.sh [options]
#     -t PATH   the tool (default build/mosa++, as built by scripts/build.sh)
#     -c LIST   class sizes in MB of module text (default "1 2 4")
#     -l LIST   layer counts (default "1250 2500 5000 10000")
#     -s WHAT   what to run: all (default), class, refined or layers
#     -d DIR    where to work (default /dev/shm when there, else $TMPDIR or /tmp)
#     -k        keep the work folder
#
# class:   one layer, one class of one-line methods int m<i>(int x).
# refined: the same class, refined method by method by a second layer.
# layers:  a class introduced in the first layer and refined by every layer.
# Times are wall-clock seconds of one full composition; the machines are
# shared, so judge the ratios. Exit code 0 unless a composition fails.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
TOOL=$ROOT/build/mosa++
CLASS_MB="1 2 4"
LAYERS="1250 2500 5000 10000"
WHAT=all
BASE=
KEEP=0
while getopts 't:c:l:s:d:kh' opt; do
    case $opt in
    t) TOOL=$OPTARG ;;
    c) CLASS_MB=$OPTARG ;;
    l) LAYERS=$OPTARG ;;
    s) WHAT=$OPTARG ;;
    d) BASE=$OPTARG ;;
    k) KEEP=1 ;;
    *) sed -n '2,18s/^# \{0,1\}//p' "$0"; exit 2 ;;
    esac
done
case $WHAT in all|class|refined|layers) ;; *) echo "unknown case: $WHAT" >&2; exit 2 ;; esac
[ -x "$TOOL" ] || { echo "no tool at $TOOL: build it first (bash scripts/build.sh)" >&2; exit 2; }
TOOL=$(cd "$(dirname "$TOOL")" && pwd)/$(basename "$TOOL")
if [ -z "$BASE" ]; then
    if [ -d /dev/shm ] && [ -w /dev/shm ]; then BASE=/dev/shm; else BASE=${TMPDIR:-/tmp}; fi
fi
WORK=$(mktemp -d "$BASE/scaling.XXXXXX")
[ "$KEEP" = 1 ] && echo "work folder: $WORK" || trap 'rm -rf "$WORK"' EXIT

# Writes the module of class Big with one-line methods up to $2 bytes into $1;
# with $3 = refine, writes the refinement of every method instead.
big_module() {
    awk -v limit="$2" -v mode="${3:-}" 'BEGIN {
        if (mode == "refine") { head = "refines class Big {\npublic:\n" }
        else { head = "class Big {\npublic:\n" }
        printf "%s", head; size = length(head)
        for (i = 0; size < limit; i++) {
            if (mode == "refine") line = sprintf("    int m%d(int x) { return super::m%d(x) + 1; }\n", i, i)
            else line = sprintf("    int m%d(int x) { return x + %d; }\n", i, i)
            printf "%s", line; size += length(line)
        }
        printf "};\n"
    }' >"$1"
}

# Composes equation $1 into $2 and prints the seconds it took.
compose_time() {
    local start end
    start=$(date +%s.%N)
    if ! (cd "$(dirname "$1")" && "$TOOL" -o="$2" "$(basename "$1")" >"$2.console" 2>&1); then
        echo "composing $1 failed:" >&2; tail -5 "$2.console" >&2; exit 1
    fi
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }'
}

# Prints one row: label, seconds, ratio to the first row of the table.
FIRST=
row() {
    [ -n "$FIRST" ] || FIRST=$2
    awk -v l="$1" -v t="$2" -v f="$FIRST" 'BEGIN { printf "  %-22s %9.3f s  %6.2f x\n", l, t, (f > 0 ? t / f : 0) }'
}

class_case() {
    local refined=$1 mb dir t
    FIRST=
    echo "one class$([ "$refined" = 1 ] && echo ", refined method by method by a second layer")"
    for mb in $CLASS_MB; do
        dir=$WORK/class$refined-$mb
        mkdir -p "$dir/base"
        big_module "$dir/base/Big.h" $((mb * 1048576))
        printf 'base\n' >"$dir/big.equation"
        if [ "$refined" = 1 ]; then
            mkdir -p "$dir/ext"
            big_module "$dir/ext/Big.h" $((mb * 1048576)) refine
            printf 'ext\n' >>"$dir/big.equation"
        fi
        t=$(compose_time "$dir/big.equation" "$dir/out")
        row "$mb MB ($(grep -c '^    int m' "$dir/base/Big.h") methods)" "$t"
    done
}

layers_case() {
    local n dir l t
    FIRST=
    echo "one class refined by every layer"
    for n in $LAYERS; do
        dir=$WORK/layers-$n
        mkdir -p "$dir"
        awk -v n="$n" -v dir="$dir" 'BEGIN {
            for (l = 0; l < n; l++) {
                name = sprintf("L%05d", l)
                system("mkdir -p " dir "/" name)
                file = dir "/" name "/Chain.h"
                if (l == 0) printf "class Chain {\npublic:\n    int f(int x) { return x; }\n};\n" >file
                else printf "refines class Chain {\npublic:\n    int f(int x) { return super::f(x) + %d; }\n};\n", l >file
                close(file)
                print name >(dir "/chain.equation")
            }
        }'
        t=$(compose_time "$dir/chain.equation" "$dir/out")
        row "$n layers" "$t"
    done
}

case $WHAT in
all) class_case 0; class_case 1; layers_case ;;
class) class_case 0 ;;
refined) class_case 1 ;;
layers) layers_case ;;
esac
