#!/usr/bin/env bash
# Checks that two builds of mosa++ write the same bytes: composes a generated
# product line and the bundled examples with each tool, from scratch and
# again with no change, and compares the console and every output file
# (the log and the run record hold paths and times and are left out).
#   bash bench/same_outputs.sh <tool A> <tool B> [classes (default 2000)]
#   bash bench/same_outputs.sh --threads <tool> [classes]
# The second form compares one tool on one thread (MOSA_THREADS=1) with the
# same tool on all cores (at least 4 threads).
# Exit code 0 when everything is equal.
set -u
THREADS_A= THREADS_B=
if [ "${1:-}" = --threads ]; then
    shift
    cores=$(nproc 2>/dev/null || echo 4)
    THREADS_A=1 THREADS_B=$((cores > 4 ? cores : 4))
    set -- "$1" "$@"
fi
A=$(realpath "$1")
B=$(realpath "$2")
CLASSES=${3:-2000}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
GEN=$(dirname "$A")/bench/ProductLineGen
[ -x "$GEN" ] || GEN=$ROOT/build/bench/ProductLineGen
WORK=$(mktemp -d "${TMPDIR:-/tmp}/same-outputs.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
"$GEN" "$WORK/pl" "$CLASSES" >/dev/null || exit 2
cp -r "$ROOT/examples" "$WORK/examples"
find "$WORK" -type f -exec touch -d '-1 hour' {} +
FAILS=0

# Composes equation $2 with tool $1 on $4 threads (empty: the default) into
# $3, twice; the consoles go beside.
compose() {
    local eq=$2 out=$3
    (cd "$(dirname "$eq")" &&
     env ${4:+MOSA_THREADS=$4} "$1" -o="$out" "$(basename "$eq")" >"$out.console1" 2>&1
     env ${4:+MOSA_THREADS=$4} "$1" -o="$out" "$(basename "$eq")" >"$out.console2" 2>&1)
}

for eq in "$WORK/pl/layers/pl.equation" "$WORK"/examples/*/*.equation; do
    name=$(basename "$eq" .equation)
    compose "$A" "$eq" "$WORK/a-$name" "$THREADS_A"
    compose "$B" "$eq" "$WORK/b-$name" "$THREADS_B"
    # Output paths differ only in the a-/b- prefix.
    for n in 1 2; do
        if ! diff <(sed "s|$WORK/a-|OUT-|g" "$WORK/a-$name.console$n") \
                  <(sed "s|$WORK/b-|OUT-|g" "$WORK/b-$name.console$n") >"$WORK/diff"; then
            echo "DIFFERENT: console of run $n of $name"; head -10 "$WORK/diff"; FAILS=$((FAILS + 1))
        fi
    done
    if ! diff -r -x mosac.log.xml -x mosac.record "$WORK/a-$name" "$WORK/b-$name" >"$WORK/diff"; then
        echo "DIFFERENT: outputs of $name"; head -10 "$WORK/diff"; FAILS=$((FAILS + 1))
    else
        echo "same: $name ($(find "$WORK/a-$name" -type f | wc -l) files)"
    fi
done
exit $((FAILS > 0))
