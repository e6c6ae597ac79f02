#!/usr/bin/env bash
# Builds mosa++ (release) into build/, composes the example product line
# examples/calc into build-example/calc (the tool refuses an output folder
# inside its own folder), compiles the composed sources with the example's
# main and runs the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -G Ninja -S . -B build -DCMAKE_BUILD_TYPE=Release -DMOSA_TESTS=OFF
cmake --build build

out=build-example/calc
mkdir -p "$out"
./build/mosa++ -o="$PWD/$out" examples/calc/calc.equation
g++ -std=c++17 -Wall -Werror -I"$out" examples/calc/main.cpp "$out"/*.cpp -o "$out/calc"
"$out/calc"
