# Shared part of the mistake tables. A row writes a small product line that
# holds one mistake; the run must exit 1 with an error that names the file
# and line of the mistake, leave no output of the class it concerns, and fail
# the same way when it is run again with nothing changed. The corrected line,
# where a table has one, composes without a message, compiles and runs.
# Source it after common.bash.

LINE_COUNT=0

# Starts a new product line in the folder $PL; its equation p.equation gets
# the text $1 (printf escapes; default "A\nB").
new_line() {
    LINE_COUNT=$((LINE_COUNT + 1))
    PL=$WORK/line$LINE_COUNT
    mkdir -p "$PL"
    printf "${1:-A\nB}\n" >"$PL/p.equation"
}

# Writes the file $1 below $PL from standard input.
put() {
    mkdir -p "$(dirname "$PL/$1")"
    cat >"$PL/$1"
}

# Composes $PL/p.equation into $PL/out with the further options; before the
# first run every source is dated in the past, so that a file written later
# is newer than the outputs. Sets RC and OUT (the console).
compose_line() {
    [ -e "$PL/out" ] || find "$PL" -type f -exec touch -d '-1 minute' {} +
    run_in "$PL" -o="$PL/out" "$@" p.equation
}

# mistake NAME WHERE TEXT [CLASS...]: composes $PL and checks that the run
# exits 1 with a line "<WHERE> : error: ..." that holds TEXT, where WHERE is
# a path below $PL with its line ("B/Stack.h(3)", "p.equation(2)") or
# "mosa++" for a message of no file; that no output of the CLASSes is
# left; and that a second run with nothing changed fails again.
mistake() {
    local name=$1 where=$2 text=$3
    shift 3
    [ "${where%%(*}" = mosa++ ] || where="$PL/$where"
    compose_line
    check_mistake "$name" "$where" "$text" "$@"
    run_in "$PL" -o="$PL/out" p.equation
    check_mistake "$name (run again)" "$where" "$text" "$@"
}

check_mistake() {
    local name=$1 where=$2 text=$3 cls
    shift 3
    [ "$RC" = 1 ] || fail "$name: exit code $RC, expected 1; console:
$OUT"
    grep -F -- "$where : error: " <<<"$OUT" | grep -qF -- "$text" ||
        fail "$name: no error '$where : error: ...$text...' in:
$OUT"
    for cls in "$@"; do
        compgen -G "$PL/out/$cls.*" >/dev/null && fail "$name: an output of class $cls is left: $(ls "$PL/out")"
    done
}

# accepted NAME EXPECTED: composes $PL without a message, compiles
# $PL/main.cpp with the composed sources and checks what the program prints.
accepted() {
    local name=$1 expected=$2 got
    compose_line
    [ "$RC" = 0 ] || { fail "$name: exit code $RC; console:
$OUT"; return; }
    grep -q 'warning\|error' <<<"$OUT" && fail "$name: messages in:
$OUT"
    if ! g++ -std=c++17 -Wall -Wextra -Werror -I"$PL/out" "$PL/main.cpp" $(find "$PL/out" -name '*.cpp' | sort) \
        -o "$PL/prog" 2>"$PL/gcc"; then
        fail "$name: the composed sources do not compile: $(head -20 "$PL/gcc")"
        return
    fi
    got=$("$PL/prog" 2>&1)
    [ "$got" = "$expected" ] || fail "$name: the program prints '$got', expected '$expected'"
}
