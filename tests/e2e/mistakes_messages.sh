#!/bin/bash
# A class whose composition reports an error is not written, its earlier
# outputs go, and every run fails again until the mistake is mended; the
# messages stand on standard error with file and line, one mistake gives a
# few lines, and the log holds what the console shows.
# Usage: mistakes_messages.sh <mosa++> <fixtures-dir>
set -u
source "$(dirname "$0")/lib/common.bash" "$1"
source "$(dirname "$0")/lib/mistakes.bash"

stack_base() {
    put A/Stack.h <<'EOF'
class Stack {
public:
    int f() { return 1; }
    int g() { return 2; }
};
EOF
    put A/Plain.h <<'EOF'
class Plain {
public:
    int h() { return 3; }
};
EOF
    put main.cpp <<'EOF'
#include "Plain.h"
#include "Stack.h"
#include <cstdio>
int main() { Stack s; Plain p; std::printf("%d %d\n", s.f(), p.h()); }
EOF
}

# --- A composed class that gets a mistake loses its outputs; the other
# class is still written; mending it brings the class back. ---
new_line
stack_base
put B/Stack.h <<'EOF'
refines class Stack {
public:
    int f() { return super::f() + 10; }
};
EOF
accepted "before the mistake" "11 3"
put B/Stack.h <<'EOF'
refines class Stack {
public:
    int f() { return super::g() + 10; }
};
EOF
mistake "a mistake after a good run" "B/Stack.h(3)" "invalid call to super::g" Stack
[ -f "$PL/out/Plain.h" ] || fail "the class without a mistake was not written"
put B/Stack.h <<'EOF'
refines class Stack {
public:
    int f() { return super::f() + 20; }
};
EOF
accepted "mended" "21 3"

# --- Streams: errors and warnings on standard error, progress on standard
# output, each progress line whole. ---
new_line
stack_base
put B/Stack.h <<'EOF'
refines class Stack {
public:
    int f() { return super::g(); }
EOF
find "$PL" -type f -exec touch -d '-1 minute' {} +
(cd "$PL" && "$TOOL" -o="$PL/out" p.equation >"$WORK/stdout" 2>"$WORK/stderr")
grep -q 'error\|warning' "$WORK/stdout" && fail "streams: a message on standard output: $(cat "$WORK/stdout")"
grep -qx 'B/Stack ([0-9]* LOC)' "$WORK/stdout" || fail "streams: no whole progress line: $(cat "$WORK/stdout")"
grep -q "^$PL/B/Stack.h([0-9]*) : \(error\|warning\): unexpected end of file" "$WORK/stderr" ||
    fail "streams: no located message on standard error: $(cat "$WORK/stderr")"
grep -vq ' : \(error\|warning\|info\): ' "$WORK/stderr" && fail "streams: other text on standard error: $(cat "$WORK/stderr")"

# --- The log holds the messages with the lines the console shows. ---
console_lines=$(grep ' : \(error\|warning\): ' "$WORK/stderr" | sed 's/^\(.*\)(\([0-9]*\)) : \([a-z]*\): .*/\1 \2 \3/' | sort)
log_lines=$(grep '<MSG type="\(error\|warning\)"' "$PL/out/mosac.log.xml" |
    sed 's/.*type="\([a-z]*\)" file="\([^"]*\)" line="\([0-9]*\)".*/\2 \3 \1/' | sort)
[ -n "$console_lines" ] && [ "$console_lines" = "$log_lines" ] ||
    fail "log: its messages differ from the console's: console '$console_lines', log '$log_lines'"

# --- Messages about a module name its line. ---
new_line
stack_base
put B/Stack.h <<'EOF'
// a comment

refines class Pair {
};
EOF
mistake "class name" "B/Stack.h(3)" "class-name 'Pair' does not match module name 'Stack'" Stack
new_line
put A/Ring.h <<'EOF'
class Ring : mixin Ring {
};
EOF
mistake "recursive mixin" "A/Ring.h(1)" "recursive mixin Ring" Ring

# --- A binary file gives a few lines, not thousands. ---
new_line
stack_base
mkdir -p "$PL/B"
yes $'\x01 x \x02 y \x7f' | head -c 4096 >"$PL/B/Stack.h"
compose_line
[ "$RC" = 1 ] || fail "binary module: exit code $RC"
lines=$(wc -l <<<"$OUT")
[ "$lines" -le 40 ] || fail "binary module: $lines lines of console"
grep -q "^$PL/B/Stack.h : info: [0-9]* more errors and warnings are not shown" <<<"$OUT" ||
    fail "binary module: the hidden messages are not counted: $OUT"

[ "$FAILS" = 0 ] || { echo "$FAILS failure(s)"; exit 1; }
echo "mistakes_messages: all passed"
