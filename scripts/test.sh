#!/usr/bin/env bash
# Builds everything twice (plain debug, and with AddressSanitizer + UBSan) and runs all tests.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh --test
jobs=$(nproc 2>/dev/null || echo 2)
run() {
  local dir=$1; shift
  cmake -G Ninja -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug "$@"
  cmake --build "$dir" -j "$jobs"
  (cd "$dir" && ctest --output-on-failure -j "$jobs")
}
run build-test
# A short fuzzing round of the scanner and parser (FUZZ_SECONDS per target; 0 skips it).
if [ "${FUZZ_SECONDS:-60}" != 0 ]; then
  bash scripts/fuzz.sh "${FUZZ_SECONDS:-60}"
fi
# Leak detection is on; scripts/lsan.supp names the objects that live until
# the end of a run on purpose.
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions="$PWD/scripts/lsan.supp" \
  UBSAN_OPTIONS=print_stacktrace=1 run build-asan -DMOSA_SANITIZE=ON
