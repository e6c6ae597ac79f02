#!/bin/bash
# Runs the composition benchmark at a tiny size, once: the generated product
# line must compose in every run of the benchmark, and the composed product
# must compile and print the value the generator computed. Times are printed
# but not judged.
# Usage: bench_smoke.sh <mosa++> <fixtures-dir>
set -u
TOOL=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
BENCH=$(cd "$(dirname "$0")/../../bench" && pwd)/compose_bench.sh
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

if ! bash "$BENCH" -t "$TOOL" -d "$WORK" -r 1 -c 12 12 >"$WORK/table" 2>&1; then
    echo "FAIL: the benchmark failed:"
    cat "$WORK/table"
    exit 1
fi
cat "$WORK/table"
FAILS=0
grep -qE '^ +12 ' "$WORK/table" || { echo "FAIL: no row for 12 classes"; FAILS=1; }
grep -q '^check: the composed 12-class product compiles' "$WORK/table" ||
    { echo "FAIL: the composed product was not checked"; FAILS=1; }
[ "$FAILS" = 0 ] && echo "PASS"
exit "$FAILS"
