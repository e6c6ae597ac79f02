#!/bin/bash
# Bad input through the built tool: each row gives its message and exit code
# (1 when the run reported an error), ends without a crash or hang, and
# leaves every file outside the output folder unchanged (the tool's own
# "<name>.link" files beside links aside).
# Usage: badinput.sh <mosa++> <fixtures-dir>
set -u
TOOL=$(realpath "$1")
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
FAILS=0
fail() { echo "FAIL: $*"; FAILS=$((FAILS + 1)); }

SRC=$WORK/src
OUT=$WORK/out
export HOME=$WORK/home
mkdir -p "$HOME" "$SRC/A" "$SRC/B"
printf 'class Stack {\npublic:\n    void push(int x) { m_n = x; }\n    int m_n;\n};\n' >"$SRC/A/Stack.h"
printf 'refines class Stack {\npublic:\n    void push(int x) { super::push(x); }\n};\n' >"$SRC/B/Stack.h"
printf 'A\nB\n' >"$SRC/prod.equation"

# Contents, kinds, link texts and times of the source tree, link files aside.
snapshot() {
    # Folder times are left out: writing a link file changes its folder's.
    (cd "$SRC" && find . -not -name '*.link' -not -path './.output*' \( -type d -printf '%p d\n' -o -printf '%p %y %l %T@\n' \) | sort
     find . -type f -not -name '*.link' -not -path './.output*' -exec sha1sum {} + | sort)
}

# row name expected-rc expected-text [cd-folder] -- args...
row() {
    local name=$1 rc=$2 text=$3 dir=$WORK
    shift 3
    if [ "$1" != "--" ]; then dir=$1; shift; fi
    shift
    touch -d '-10 seconds' "$SRC/prod.equation"
    local before
    before=$(snapshot)
    local got
    got=$(cd "$dir" && timeout 300 "$TOOL" "$@" 2>&1)
    local code=$?
    [ $code = 124 ] && fail "$name: hangs"
    [ $code -ge 128 ] && fail "$name: died with signal $((code - 128))"
    [ $code = "$rc" ] || fail "$name: exit code $code, expected $rc"
    grep -qF -- "$text" <<<"$got" || fail "$name: no '$text' in: $(head -c 600 <<<"$got")"
    [ "$before" = "$(snapshot)" ] || { fail "$name: the source tree changed"; diff <(echo "$before") <(snapshot) | head; }
    rm -rf "$OUT"
}

# Equations.
row "missing equation" 1 "failed to load equation file '$SRC/none'" -- -o="$OUT" "$SRC/none"
: >"$SRC/empty.equation"
row "empty equation" 0 "names no layers" -- -o="$OUT" "$SRC/empty"
mkdir "$SRC/dir.equation"
row "folder equation" 1 "failed to load equation file" -- -o="$OUT" "$SRC/dir"
mkfifo "$SRC/fifo.equation"
row "pipe equation" 1 "failed to load equation file" -- -o="$OUT" "$SRC/fifo"
ln -s loop.equation "$SRC/loop.equation"
row "looping link equation" 1 "failed to load equation file" -- -o="$OUT" "$SRC/loop"
printf 'A\nimport cyc2\n' >"$SRC/cyc.equation"
printf 'import cyc\n' >"$SRC/cyc2.equation"
row "import cycle" 1 "recursive import of equation file" -- -o="$OUT" "$SRC/cyc"
printf 'A\nC\n' >"$SRC/miss.equation"
row "missing layer" 1 "$SRC/miss.equation(2) : error: folder $SRC/C for feature C does not exist" -- -o="$OUT" "$SRC/miss"
echo text >"$SRC/F"
printf 'A\nF\n' >"$SRC/file.equation"
row "layer is a file" 1 "$SRC/file.equation(2) : error: folder $SRC/F for feature F does not exist" -- -o="$OUT" "$SRC/file"

# Modules of one layer M.
module() { # text via stdin
    rm -rf "$SRC/M"; mkdir -p "$SRC/M"; cat >"$SRC/M/Stack.h"
    printf 'A\nM\n' >"$SRC/m.equation"
}
printf 'refines class Stack {\n void f() { {\n};\n' | module
row "unbalanced braces" 1 "unexpected end of file" -- -o="$OUT" "$SRC/m"
printf 'refines class Stack {\n int x;\n' | module
row "class never closes" 1 "unexpected end of file" -- -o="$OUT" "$SRC/m"
(printf 'refines class Stack {\n'; printf '\x01\x02\x7f\x80\xfe\xff\x1b'; printf '\n};\n') | module
row "binary bytes" 1 "Unknown token" -- -o="$OUT" "$SRC/m"
printf 'refines class Stack {\n int \0x;\n};\n' | module
row "NUL bytes" 1 "Unknown token" -- -o="$OUT" "$SRC/m"
printf 'class Other {};\nclass Another {};\n' | module
row "two classes" 1 "classes, but only one class allowed" -- -o="$OUT" "$SRC/m"
awk 'BEGIN { print "refines class Stack {\n int f(int a) {"; for (i = 0; i < 330000; i++) print "  a = a * 3 + " i "; // step"; print "  return a; }\n};" }' | module
row "10 MB module" 0 "layer M:" -- -o="$OUT" "$SRC/m"
awk 'BEGIN { printf "refines class Stack {\n void f() "; for (i = 0; i < 100000; i++) printf "{"; for (i = 0; i < 100000; i++) printf "}"; print "\n};" }' | module
row "100000 braces deep" 0 "layer M:" -- -o="$OUT" "$SRC/m"
printf 'class Stack : mixin Node {};\n' | module
printf 'class Node : mixin Stack {};\n' >"$SRC/M/Node.h"
row "mixin cycle" 1 "recursive mixin" -- -o="$OUT" "$SRC/m"
rm -rf "$SRC/M" "$SRC/m.equation"

# Output folders.
echo text >"$WORK/ofile"
row "-o is a file" 1 "cannot create output folder" -- -o="$WORK/ofile" "$SRC/prod"
row "-o cannot be created" 1 "cannot create output folder" -- -o="$WORK/ofile/out" "$SRC/prod"
row "-o=." 1 "refusing to use it" "$SRC" -- -o=. prod
row "-o=.." 1 "refusing to use it" "$SRC/A" -- -o=.. ../prod
# The eqonly rows stop before anything is written, even if a guard failed.
row "-o home" 1 "refusing to use it" -- -eqonly -o="$HOME" "$SRC/prod"
row "-o /" 1 "refusing to use it" -- -eqonly -o=/ "$SRC/prod"
row "-o a layer" 1 "refusing to use it" -- -o="$SRC/A" "$SRC/prod"
row "-o above the sources" 1 "refusing to use it" -- -o="$WORK" "$SRC/prod"

# Link loops in a layer folder.
ln -s . "$SRC/A/self"
ln -s ../B "$SRC/A/toB"
ln -s ../A "$SRC/B/toA"
ln -s loop2 "$SRC/A/loop1"
ln -s loop1 "$SRC/A/loop2"
row "link loops" 1 "error: SysCall::stat(): $SRC/A/loop1: Too many levels of symbolic links" -- -o="$OUT" "$SRC/prod"
rm -f "$SRC/A/self" "$SRC/A/toB" "$SRC/B/toA" "$SRC/A/loop1" "$SRC/A/loop2" "$SRC"/A/*.link "$SRC"/B/*.link

# A pipe in a layer folder is skipped, not read.
mkfifo "$SRC/A/Pipe.h"
row "pipe module" 0 "not a regular file; skipped" -- -o="$OUT" "$SRC/prod"
rm -f "$SRC/A/Pipe.h"

# Paths longer than 4096 bytes.
LONG=$(printf '%0250d' 0 | tr 0 d)
DEEP=$WORK/deep
for i in $(seq 1 18); do DEEP=$DEEP/$LONG; done
row "path over 4096 bytes" 1 "failed to load equation file" -- -o="$OUT" "$DEEP/prod"

# Names with spaces and non-ASCII bytes.
SP="$WORK/my src é"
mkdir -p "$SP/Ünter" && cp "$SRC/A/Stack.h" "$SP/Ünter/"
printf 'Ünter\n' >"$SP/p.equation"
touch -d '-10 seconds' "$SP/p.equation" "$SP/Ünter/Stack.h"
got=$("$TOOL" -o="$WORK/out é" "$SP/p" 2>&1); code=$?
[ $code = 0 ] || fail "spaces and non-ASCII: exit code $code: $got"
[ -f "$WORK/out é/Stack.h" ] || fail "spaces and non-ASCII: no Stack.h"

[ $FAILS = 0 ] && echo "badinput: all passed"
exit $((FAILS > 0))
