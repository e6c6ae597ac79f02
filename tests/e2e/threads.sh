#!/bin/bash
# A run on several threads writes the same files and prints the same console
# as a run on one: a generated product line and the bundled examples are
# composed both ways (from scratch and again unchanged) and compared.
# Usage: threads.sh <mosa++> <fixtures-dir>
set -u
SAME=$(cd "$(dirname "$0")/../../bench" && pwd)/same_outputs.sh
if bash "$SAME" --threads "$1" 150; then
    echo "PASS"
else
    echo "FAIL: the outputs differ with the number of threads"
    exit 1
fi
