#!/bin/bash
# Refinements of everyday C++ classes through the whole tool. The rows live
# in tests/e2e/everyday/*.bash: each row_<name> writes modules into the
# layers base, ext and top, a program and its expected output. All rows form
# one product line, which must compose without messages; every row's
# program must compile against the output with -Wall -Wextra -Werror and
# print what the layers say. The output folder as a whole must compile too.
# A case_<name> function in those files is a case of its own (for example
# a message the tool must print); it calls pass or fail.
# Usage: everyday_cpp.sh <mosa++> <fixtures-dir>
#        ROWS="row ..." everyday_cpp.sh ... checks only the given rows.
set -u
WORK=$(cd "$(mktemp -d)" && pwd -P)
trap 'rm -rf "$WORK"' EXIT
TOOL=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
LAYERS="base ext top"
ROW_FLAGS="-Wall -Wextra -Werror"
. "$(dirname "$0")/lib/rows.bash"
for file in "$(dirname "$0")"/everyday/*.bash; do
    . "$file"
done

ALL_ROWS=$(declare -F | sed -n 's/^declare -f row_//p' | sort)
CHECKED=${ROWS:-$ALL_ROWS}

CASE=compose
DIR=$WORK/line
write_rows "$DIR" $CHECKED
compose "$DIR" p
if [ "$RC" = 0 ]; then pass; else fail "exit code $RC"; fi
if quiet "$DIR/console-p"; then pass; else fail "messages:"; grep 'warning\|error' "$DIR/console-p"; fi

# Every composed source compiles on its own, as a build of the folder does.
CASE=folder
for f in "$DIR"/out-p/*.cpp; do
    [ -f "$f" ] || continue
    if g++ -std=c++17 -Wall -Wextra -Werror -c -I"$DIR/out-p" "$f" -o "$WORK/unit.o" 2>"$WORK/gxx"; then
        pass
    else
        fail "$(basename "$f") does not compile:"$'\n'"$(head -20 "$WORK/gxx")"
    fi
done

for row in $CHECKED; do
    CASE=$row
    if why=$(run_row "$DIR" "$row"); then pass; else fail "$why"; fi
done

if [ -z "${ROWS:-}" ]; then
    for c in $(declare -F | sed -n 's/^declare -f case_//p' | sort); do
        CASE=$c
        "case_$c"
    done
fi

echo "everyday_cpp: $PASSES passed, $FAILS failed"
[ "$FAILS" = 0 ]
