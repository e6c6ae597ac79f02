# Shared prelude of the scripts that compose a bundled example product line:
# a temporary work folder, the tool's absolute path, the example's folder
# ($EXAMPLE), pass and failure counting and checks of written files. Source
# it with the tool's path, the fixtures folder and the example's name;
# COMPOSE_OPTIONS are passed to every composition.

WORK=$(cd "$(mktemp -d)" && pwd -P)
trap 'rm -rf "$WORK"' EXIT
TOOL=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
EXAMPLE=$(cd "$2/../../examples/$3" && pwd)
FAILS=0
PASSES=0

fail() { echo "FAIL [$CASE]: $*"; FAILS=$((FAILS + 1)); }
pass() { PASSES=$((PASSES + 1)); }

has() { # file text
    if grep -qF -- "$2" "$1"; then pass; else fail "$(basename "$1") lacks: $2"; fi
}

# Composes $DIR/$1 into $DIR/out; the console goes to $DIR/console.
compose() {
    (cd "$DIR" && "$TOOL" ${COMPOSE_OPTIONS:-} -o="$DIR/out" "$1" >"$DIR/console" 2>&1)
    local rc=$?
    [ "$rc" -eq 0 ] && pass || { fail "exit code $rc"; cat "$DIR/console"; }
}
