#!/usr/bin/env bash
# Installs the Debian packages the build needs when they are missing.
#   scripts/deps.sh          build and unit tests
#   scripts/deps.sh --test   also what the tests use: clang and its libFuzzer
#                            runtime, a JDK, and mcs/mono for the Java-like
#                            product lines (--fuzz is the same)
set -euo pipefail
missing=()
command -v cmake >/dev/null || missing+=(cmake)
command -v ninja >/dev/null || missing+=(ninja-build)
command -v g++ >/dev/null || missing+=(g++)
[ -f /usr/include/gtest/gtest.h ] || missing+=(libgtest-dev)
if [ "${1:-}" = --test ] || [ "${1:-}" = --fuzz ]; then
  command -v clang++ >/dev/null || missing+=(clang)
  ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 \
    || missing+=(libclang-rt-14-dev)
  command -v javac >/dev/null || missing+=(default-jdk-headless)
  command -v mcs >/dev/null || missing+=(mono-mcs)
fi
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
sudo=
[ "$(id -u)" -eq 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update
$sudo apt-get install -y "${missing[@]}"
