#!/bin/bash
# Bytes that are no text: a module or plain file whose name holds a line
# break or a tab gives console lines and log elements with the byte escaped,
# one line each; an equation line holding a NUL byte is an error naming the
# file and line, the later layers are still composed, and the run fails; a
# UTF-16 equation is told once.
# Usage: control_bytes.sh <mosa++> <fixtures-dir>
set -u
source "$(dirname "$0")/lib/common.bash" "$1"

P=$WORK/p
mkdir -p "$P/A" "$P/C"
printf 'class Stack {\npublic:\n    int m_n;\n};\n' >"$P/A/Stack.h"
printf 'class Queue {\npublic:\n    int m_n;\n};\n' >"$P/C/Queue.h"

# Names with a line break and a tab: a module whose class cannot match its
# name, and an appended plain file.
printf 'class X {\n};\n' >"$P/A/Na"$'\n'"me.h"
printf 'note\n' >"$P/A/no"$'\t'"te.txt"
printf 'A\n' >"$P/names.equation"
run_in "$P" -o=out-names names.equation
expect_rc "names" 1
contains "names: parse line" 'A/Na\nme (2 LOC)'
contains "names: error" "$P/A/Na\\nme.h(1) : error: class-name 'X' does not match module name 'Na\\nme'"
contains "names: appended" 'appending file A/no\tte.txt'
grep -q '^me' <<<"$OUT" && fail "names: a line split at the break: $OUT"
lacks "names: a raw tab" $'\t'
grep -qF "file=\"$P/A/Na\\nme.h\" line=\"1\" >class-name 'X' does not match module name 'Na\\nme'</MSG>" \
    "$P/out-names/mosac.log.xml" || fail "names: log element: $(cat "$P/out-names/mosac.log.xml")"

# A NUL byte in a layer line and in a comment line: each is an error, the
# layer after them is composed all the same.
printf '# binary\0 paste\nA\nB\0x\nC\n' >"$P/nul.equation"
run_in "$P" -o=out-nul nul.equation
expect_rc "NUL" 1
nul="error: the line holds a NUL byte and is not read; save the file as UTF-8 or ASCII text"
contains "NUL in a comment" "$P/nul.equation(1) : $nul"
contains "NUL in a layer line" "$P/nul.equation(3) : $nul"
[ -f "$P/out-nul/Queue.h" ] || fail "NUL: the layer after the line was dropped: $OUT"
[ -f "$P/out-nul/Stack.h" ] || fail "NUL: the layer before the line was dropped: $OUT"

# UTF-16 (little-endian, with its mark): one message, nothing composed.
printf '\xff\xfeA\0\n\0C\0\n\0' >"$P/wide.equation"
run_in "$P" -o=out-wide wide.equation
expect_rc "UTF-16" 1
expect_out "UTF-16" "$P/wide.equation : error: the file is UTF-16 (little-endian) text; save it as UTF-8 or ASCII
encountered errors"

[ "$FAILS" = 0 ] || { echo "$FAILS failure(s)"; exit 1; }
echo "all control byte checks passed"
