# Shared prelude of the end-to-end scripts: a temporary work folder, failure
# counting, a private copy of the tool and helpers that run it and check its
# console. Source it with the tool's path as $1.

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
FAILS=0

fail() { echo "FAIL: $*"; FAILS=$((FAILS + 1)); }

# A private copy of the tool (with its code templates), older than anything
# the tests write, so that its time never asks for a full rebuild unless a
# test touches it.
mkdir "$WORK/bin"
cp "$1" "$WORK/bin/mosa++"
[ -d "$(dirname "$1")/codetemplates" ] && cp -r "$(dirname "$1")/codetemplates" "$WORK/bin/"
touch -d '-1 hour' "$WORK/bin/mosa++"
TOOL="$WORK/bin/mosa++"

# Runs the tool in folder $1 with the remaining arguments; sets RC, and OUT
# to its console (standard output and standard error, as a terminal shows
# them), also kept in $WORK/console.
run_in() {
    local dir=$1
    shift
    (cd "$dir" && "$TOOL" "$@" >"$WORK/console" 2>&1)
    RC=$?
    OUT=$(cat "$WORK/console")
}

expect_rc() { [ "$RC" = "$2" ] || fail "$1: exit code $RC, expected $2; output: $OUT"; }
expect_out() { [ "$OUT" = "$2" ] || { fail "$1: output differs"; diff <(echo "$2") <(echo "$OUT"); }; }
contains() { grep -qxF -- "$2" <<<"$OUT" || fail "$1: no line '$2' in:
$OUT"; }
lacks() { grep -qF -- "$2" <<<"$OUT" && fail "$1: unexpected '$2' in:
$OUT"; }
mtime() { stat -c %Y "$1"; }
