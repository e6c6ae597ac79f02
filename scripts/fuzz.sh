#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a bounded time.
#   scripts/fuzz.sh [seconds-per-target [target]]   (default 180 s, all targets;
#   FUZZ_SECONDS also sets the time)
# The seed corpus (fuzz/corpus and the test fixtures) is copied, so runs never
# change the repository; a crash leaves its input in build-fuzz/findings/ and
# fails the script. Parsed modules live until the end of a run, as in the tool,
# so a long run is split into fresh processes of at most two minutes that share
# the growing corpus. Leaks are looked for when each process ends (a check
# after every input would slow the parser's fuzzing down about five times);
# scripts/lsan.supp names the objects that live until the end of a run on
# purpose.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-${FUZZ_SECONDS:-180}}
only=${2:-}
chunk=120
CC=clang CXX=clang++ cmake -G Ninja -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMOSA_TESTS=OFF -DMOSA_FUZZ=ON
cmake --build build-fuzz
mkdir -p build-fuzz/findings
for target in build-fuzz/fuzz/*Fuzzer; do
  name=$(basename "$target")
  [ -z "$only" ] || [ "$name" = "$only" ] || continue
  corpus=build-fuzz/corpus-$name
  rm -rf "$corpus"
  mkdir -p "$corpus"
  cp fuzz/corpus/* tests/fixtures/scanner/* tests/fixtures/parser/* "$corpus"/ 2>/dev/null || true
  echo "== $name: ${seconds}s"
  left=$seconds
  while [ "$left" -gt 0 ]; do
    run=$(( left < chunk ? left : chunk ))
    left=$(( left - run ))
    status=0
    ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions="$PWD/scripts/lsan.supp" \
      UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
      "$target" -max_total_time="$run" -timeout=10 -rss_limit_mb=4096 -max_len=16384 -detect_leaks=0 \
      -close_fd_mask=1 -artifact_prefix=build-fuzz/findings/"$name"- -print_final_stats=1 \
      "$corpus" > build-fuzz/"$name".log 2>&1 || status=$?
    grep -E '^(#[0-9]+ +DONE|stat::(number_of_executed_units|peak_rss_mb))' build-fuzz/"$name".log || true
    # A crash, a sanitizer report, a timeout or running out of memory makes
    # the fuzzer exit non-zero.
    if [ "$status" -ne 0 ]; then
      tail -n 40 build-fuzz/"$name".log
      echo "$name found a failure (log: build-fuzz/$name.log, input in build-fuzz/findings/)"
      exit 1
    fi
  done
done
