#!/usr/bin/env bash
# Composition benchmark: generates product lines of several sizes, composes
# each with mosa++ several times (full run, no-change re-run, re-run after
# touching one module, re-run after editing the module every class depends
# on), times the same input through `g++ -E -P`, `cp -r` and a `find -newer`
# walk, and prints one table of medians and ratios. The composed product of
# one size is also compiled (g++ -O0) and run, and must print the value the
# generator computed.
#
#   bash bench/compose_bench.sh [options] [classes...]     (default: 500 2000 8000)
#     -r N      repetitions per size, medians are printed (default 5)
#     -c N      size whose product is compiled and checked (default 2000 when
#               measured, else the smallest size; 0 skips the check)
#     -l N      layers (default 6)        -m N   methods per class (default 8)
#     -j N      compile jobs for the check (default 2)
#     -t PATH   the tool (default build/mosa++, as built by scripts/build.sh)
#     -d DIR    where to work (default /dev/shm when it is a tmpfs, else $TMPDIR
#               or /tmp): all figures of a size come from the same folder
#     -k        keep the work folder
# Times are wall-clock seconds; the machines are shared, so judge the ratios.
# A ratio that misses its target is marked with '*'. The exit code is 0 unless
# a run fails or the product prints a wrong value.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
REPS=5
CHECK=
LAYERS=6
METHODS=8
JOBS=2
TOOL=$ROOT/build/mosa++
KEEP=0
BASE=
while getopts 'r:c:l:m:j:t:d:kh' opt; do
    case $opt in
    r) REPS=$OPTARG ;;
    c) CHECK=$OPTARG ;;
    l) LAYERS=$OPTARG ;;
    m) METHODS=$OPTARG ;;
    j) JOBS=$OPTARG ;;
    t) TOOL=$OPTARG ;;
    d) BASE=$OPTARG ;;
    k) KEEP=1 ;;
    *) sed -n '2,22s/^# \{0,1\}//p' "$0"; exit 2 ;;
    esac
done
shift $((OPTIND - 1))
SIZES=("$@")
[ ${#SIZES[@]} -gt 0 ] || SIZES=(500 2000 8000)
for n in "$REPS" "$LAYERS" "$METHODS" "$JOBS" "${SIZES[@]}" ${CHECK:+"$CHECK"}; do
    [[ $n =~ ^[0-9]+$ ]] || { echo "not a number: $n" >&2; exit 2; }
done
[ "$REPS" -ge 1 ] || { echo "at least one repetition" >&2; exit 2; }
if [ -z "$CHECK" ]; then
    CHECK=${SIZES[0]}
    for n in "${SIZES[@]}"; do [ "$n" = 2000 ] && CHECK=2000; done
fi
[ -x "$TOOL" ] || { echo "no tool at $TOOL: build it first (bash scripts/build.sh)" >&2; exit 2; }
TOOL=$(cd "$(dirname "$TOOL")" && pwd)/$(basename "$TOOL")

# A memory file system keeps the state of a disk (for example the free-inode
# search after many deletions) out of the figures.
if [ -z "$BASE" ]; then
    BASE=${TMPDIR:-/tmp}
    [ "$(stat -f -c %T /dev/shm 2>/dev/null)" = tmpfs ] && [ -w /dev/shm ] && BASE=/dev/shm
fi
WORK=$(mktemp -d "$BASE/mosa-bench.XXXXXX")
if [ "$KEEP" = 1 ]; then
    echo "work folder: $WORK"
else
    trap 'rm -rf "$WORK"' EXIT
fi

# The generator beside the tool (built with it), else compiled here.
GEN=$(dirname "$TOOL")/bench/ProductLineGen
if [ ! -x "$GEN" ]; then
    GEN=$WORK/ProductLineGen
    g++ -std=c++17 -O2 "$ROOT/bench/ProductLineGen.cpp" -o "$GEN"
fi

# Peak memory through GNU time; installed when missing and possible.
TIMEV=/usr/bin/time
if [ ! -x "$TIMEV" ] && command -v apt-get >/dev/null; then
    sudo=
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    { $sudo apt-get install -y time || { $sudo apt-get update && $sudo apt-get install -y time; }; } \
        >/dev/null 2>&1 || true
fi
[ -x "$TIMEV" ] || TIMEV=

die() { echo "compose_bench: $*" >&2; exit 1; }
now() { date +%s%N; }
secs() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.4f", (b - a) / 1e9 }'; }
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
# Prints the ratio and a '*' when it is above the target.
judged() { awk -v a="$1" -v b="$2" -v t="$3" 'BEGIN { if (b <= 0) { print "-"; exit } r = a / b; printf "%.2f%s", r, (r > t ? "*" : "") }'; }

# Composes size $N once into $OUT; the elapsed seconds go to $T.
compose() { # log-name
    local s e
    s=$(now)
    (cd "$PL/layers" && "$TOOL" -o="$OUT" pl.equation >"$WORK/$1.log" 2>&1) ||
        die "$N classes, $1 run failed:"$'\n'"$(tail -20 "$WORK/$1.log")"
    e=$(now)
    T=$(secs "$s" "$e")
}

# Compiles the composed product in $OUT with the generated test program and
# compares its output with the expected line.
check_product() {
    local build=$WORK/check
    rm -rf "$build"
    mkdir -p "$build"
    # Composed implementation files in groups of 100 per compiler call.
    (cd "$OUT" && find . -maxdepth 1 -name '*.cpp' | sed 's|^\./||' | sort) | split -l 100 - "$build/group."
    for g in "$build"/group.*; do
        [ -f "$g" ] || continue
        sed "s|.*|#include \"$OUT/&\"|" "$g" >"$g.cpp"
    done
    ls "$build"/group.*.cpp "$PL"/main/*.cpp |
        xargs -P "$JOBS" -I{} sh -c 'g++ -std=c++17 -O0 -I"$1" -c "$2" -o "$3/$(basename "$2").o" 2>>"$3/errors"' \
            sh "$OUT" {} "$build" || die "the composed $N-class product does not compile:"$'\n'"$(head -40 "$build/errors")"
    g++ "$build"/*.o -o "$build/product" 2>>"$build/errors" || die "the $N-class product does not link:"$'\n'"$(head -20 "$build/errors")"
    local got want
    got=$("$build/product") || die "the $N-class product failed"
    want=$(cat "$PL/expected.txt")
    [ "$got" = "$want" ] || die "the $N-class product prints '$got', expected '$want'"
    CHECKED="the composed $N-class product compiles (g++ -O0) and prints \"$got\" as expected"
}

declare -A FULL NOCHG TOUCH EDIT GPP CP WALK PEAK INPUT
CHECKED=
for N in "${SIZES[@]}"; do
    [ "$N" -ge 2 ] || die "at least 2 classes"
    PL=$WORK/pl-$N
    OUT=$WORK/out-$N
    "$GEN" "$PL" "$N" "$LAYERS" "$METHODS" || die "generator failed"
    find "$PL" -type f -exec touch -d '-1 hour' {} +
    INPUT[$N]=$(find "$PL/layers" -name '*.h' -printf '%s\n' | awk '{ s += $1 } END { print s }')
    find "$PL/layers" -name '*.h' | sort | xargs cat >"$WORK/all-$N.h"
    mid=$(printf 'C%05d' $((N / 2)))
    touched=$PL/layers/F$((LAYERS > 3 ? 3 : LAYERS - 1))/$mid.h
    [ "$LAYERS" -gt 1 ] || touched=$PL/layers/Base/$mid.h
    full=() nochg=() touch1=() edit=() gpp=() cpr=() walk=() peak=()
    for ((r = 1; r <= REPS; r++)); do
        rm -rf "$OUT"
        if [ -n "$TIMEV" ]; then
            s=$(now)
            (cd "$PL/layers" && "$TIMEV" -f %M -o "$WORK/mem" "$TOOL" -o="$OUT" pl.equation >"$WORK/full.log" 2>&1) ||
                die "$N classes, full run failed:"$'\n'"$(tail -20 "$WORK/full.log")"
            e=$(now)
            full+=("$(secs "$s" "$e")")
            peak+=("$(tail -1 "$WORK/mem")")
        else
            compose full
            full+=("$T")
        fi
        grep -q 'rebuilding complete sources' "$WORK/full.log" || die "the first run did not rebuild everything"
        compose nochange
        nochg+=("$T")
        grep -q '^0 files generated' "$WORK/nochange.log" || die "the no-change run generated files:"$'\n'"$(tail -3 "$WORK/nochange.log")"
        sleep 1 # change detection works in whole seconds
        touch "$touched"
        compose touch
        touch1+=("$T")
        grep -q "^1 files generated" "$WORK/touch.log" || die "the touch run did not compose one class:"$'\n'"$(tail -3 "$WORK/touch.log")"
        sleep 1
        sed -i "s|return [0-9]*; } // revision|return $r; } // revision|" "$PL/layers/Base/Tally.h"
        compose edit
        edit+=("$T")
        grep -q 'dependent)' "$WORK/edit.log" || die "the edit run printed no summary"

        s=$(now)
        g++ -E -P -x c++ "$WORK/all-$N.h" -o "$WORK/pp.out"
        e=$(now)
        gpp+=("$(secs "$s" "$e")")
        rm -rf "$WORK/copy"
        s=$(now)
        cp -r "$PL/layers" "$WORK/copy"
        e=$(now)
        cpr+=("$(secs "$s" "$e")")
        rm -rf "$WORK/copy"
        s=$(now)
        find "$PL/layers" "$OUT" -newer "$OUT/Tally.h" >/dev/null
        e=$(now)
        walk+=("$(secs "$s" "$e")")
    done
    FULL[$N]=$(median "${full[@]}")
    NOCHG[$N]=$(median "${nochg[@]}")
    TOUCH[$N]=$(median "${touch1[@]}")
    EDIT[$N]=$(median "${edit[@]}")
    GPP[$N]=$(median "${gpp[@]}")
    CP[$N]=$(median "${cpr[@]}")
    WALK[$N]=$(median "${walk[@]}")
    PEAK[$N]=${peak:+$(median "${peak[@]}")}
    if [ "$N" = "$CHECK" ]; then
        check_product
    fi
    rm -rf "$WORK/all-$N.h" "$WORK/pp.out"
    [ "$KEEP" = 1 ] || rm -rf "$PL" "$OUT"
done

echo "mosa++ composition benchmark: $LAYERS layers, $METHODS methods per class, median of $REPS run(s);" \
    "times in seconds; work folder on $(stat -f -c %T "$WORK")"
printf '%7s %8s | %7s %7s %7s %7s | %7s %7s %7s | %7s | %9s %8s %10s %10s %10s\n' \
    classes input-MB full no-chg touch edit g++-E cp-r walk peak-MB \
    full/g++E full/cp no-chg/walk touch/walk peak/input
for N in "${SIZES[@]}"; do
    peakmb=-
    pr=-
    if [ -n "${PEAK[$N]}" ]; then
        peakmb=$(awk -v k="${PEAK[$N]}" 'BEGIN { printf "%.1f", k / 1024 }')
        pr=$(judged "$(awk -v k="${PEAK[$N]}" 'BEGIN { printf "%.0f", k * 1024 }')" "${INPUT[$N]}" 20)
    fi
    printf '%7s %8s | %7.3f %7.3f %7.3f %7.3f | %7.3f %7.3f %7.3f | %7s | %9s %8s %10s %10s %10s\n' \
        "$N" "$(awk -v b="${INPUT[$N]}" 'BEGIN { printf "%.1f", b / 1048576 }')" \
        "${FULL[$N]}" "${NOCHG[$N]}" "${TOUCH[$N]}" "${EDIT[$N]}" "${GPP[$N]}" "${CP[$N]}" "${WALK[$N]}" \
        "$peakmb" "$(judged "${FULL[$N]}" "${GPP[$N]}" 1.0)" "$(judged "${FULL[$N]}" "${CP[$N]}" 3)" \
        "$(judged "${NOCHG[$N]}" "${WALK[$N]}" 2)" "$(judged "${TOUCH[$N]}" "${WALK[$N]}" 3)" "$pr"
done
printf '%7s %8s   %7s %7s %7s %7s   %7s %7s %7s   %7s   %9s %8s %10s %10s %10s\n' \
    targets "" "" "" "" "" "" "" "" "" "<=1.0" "<=3" "<=2" "<=3" "<=20"
if [ ${#SIZES[@]} -gt 1 ]; then
    echo "growth of the full run (target: 4x the classes in at most 4.5x the time):"
    prev=
    for N in "${SIZES[@]}"; do
        if [ -n "$prev" ]; then
            printf '  %6s -> %6s classes (x%s): time x%s\n' "$prev" "$N" "$(ratio "$N" "$prev")" \
                "$(judged "${FULL[$N]}" "${FULL[$prev]}" "$(awk -v a="$N" -v b="$prev" 'BEGIN { print 4.5 / 4 * a / b }')")"
        fi
        prev=$N
    done
fi
[ -z "$TIMEV" ] && echo "peak memory not measured: /usr/bin/time is missing"
if [ -n "$CHECKED" ]; then
    echo "check: $CHECKED"
elif [ "$CHECK" != 0 ]; then
    echo "check: size $CHECK was not measured, no product was compiled"
fi
exit 0
