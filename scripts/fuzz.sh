#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a bounded time.
#   scripts/fuzz.sh [seconds-per-target]   (default 180; FUZZ_SECONDS also works)
# The seed corpus in fuzz/corpus is copied, so runs never change the repository;
# a crash leaves its input in build-fuzz/findings/ and fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-${FUZZ_SECONDS:-180}}
CC=clang CXX=clang++ cmake -G Ninja -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMOSA_TESTS=OFF -DMOSA_FUZZ=ON
cmake --build build-fuzz
mkdir -p build-fuzz/findings
for target in build-fuzz/fuzz/*Fuzzer; do
  name=$(basename "$target")
  corpus=build-fuzz/corpus-$name
  rm -rf "$corpus"
  mkdir -p "$corpus"
  cp fuzz/corpus/* tests/fixtures/scanner/* "$corpus"/ 2>/dev/null || true
  echo "== $name: ${seconds}s"
  status=0
  ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -max_len=16384 \
    -artifact_prefix=build-fuzz/findings/"$name"- -print_final_stats=1 "$corpus" \
    > build-fuzz/"$name".log 2>&1 || status=$?
  tail -n 12 build-fuzz/"$name".log
  # A crash, a sanitizer report or a timeout makes the fuzzer exit non-zero.
  if [ "$status" -ne 0 ]; then
    echo "$name found a failure (log: build-fuzz/$name.log, input in build-fuzz/findings/)"
    exit 1
  fi
done
