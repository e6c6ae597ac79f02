# Shared part of the row scripts: each row writes modules of a small product
# line, a program that uses the composed classes and the program's expected
# output. The rows are composed together, and every row's program is
# compiled against the output and run. Source it after setting WORK and TOOL.
# LAYERS names the layers in equation order (default "base ext"); a row's
# compiler options are FLAGS_<row>, else ROW_FLAGS.

FAILS=0
PASSES=0
LAYERS=${LAYERS:-base ext}
ROW_FLAGS=${ROW_FLAGS:--Wall -Werror}

fail() { echo "FAIL [$CASE]: $*"; FAILS=$((FAILS + 1)); }
pass() { PASSES=$((PASSES + 1)); }

module() { # path (below $PL), text from stdin
    [ -e "$PL/$1" ] && fail "two rows write $1"
    mkdir -p "$(dirname "$PL/$1")"
    cat >"$PL/$1"
}
program() { # row, expected output; program text from stdin
    cat >"$PL/main_$1.cpp"
    printf '%s\n' "$2" >"$PL/expect_$1"
}

# Writes the rows $2... into the product line folder $1, with the equation
# p.equation of all layers and dyn.equation whose top layer is loaded
# dynamically.
write_rows() {
    PL=$1
    shift
    local layer row
    for layer in $LAYERS; do mkdir -p "$PL/$layer"; done
    for row in "$@"; do
        "row_$row"
    done
    printf '%s\n' $LAYERS >"$PL/p.equation"
    printf '%s\n' $LAYERS | sed '$s/$/ dynamicload/' >"$PL/dyn.equation"
    find "$PL" -type f -exec touch -d '-10 seconds' {} +
}

# Composes equation $2 of folder $1 into $1/out-$2; sets RC and leaves the
# console in $1/console-$2.
compose() {
    (cd "$1" && "$TOOL" -noline -o="$1/out-$2" "$2.equation" >"$1/console-$2" 2>&1)
    RC=$?
}

# Compiles and runs the program of row $2 against the jampack output in
# folder $1; prints why when it fails and returns 1. A function check_<row>
# may look at the output folder (given as $1) and the console first.
run_row() {
    local dir=$1 row=$2 sources got flags=FLAGS_$2
    sources=$(find "$dir/out-p" -name '*.cpp' | sort)
    if ! g++ -std=c++17 ${!flags:-$ROW_FLAGS} -I"$dir/out-p" "$dir/main_$row.cpp" $sources \
        -o "$dir/prog_$row" 2>"$dir/gcc_$row"; then
        echo "the composed sources do not compile:"
        head -30 "$dir/gcc_$row"
        return 1
    fi
    if declare -F "check_$row" >/dev/null && ! PL=$dir "check_$row" "$dir/out-p"; then
        return 1
    fi
    got=$("$dir/prog_$row" 2>&1)
    if [ "$got" != "$(cat "$dir/expect_$row")" ]; then
        echo "program output differs:"
        diff "$dir/expect_$row" <(printf '%s\n' "$got")
        return 1
    fi
}

# The messages of a run that must be clean.
quiet() { # console
    ! grep -q 'warning\|error' "$1"
}

without() { # list, words to drop
    local word out=""
    for word in $1; do
        case " $2 " in *" $word "*) ;; *) out+=" $word" ;; esac
    done
    echo "$out"
}
