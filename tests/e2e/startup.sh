#!/bin/bash
# Start-up of the built tool: usage text, option errors, exit codes, equation
# and folder errors. Usage: startup.sh <mosa++> <fixtures-dir>
set -u
TOOL=$(realpath "$1")
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
FAILS=0

fail() { echo "FAIL: $*"; FAILS=$((FAILS + 1)); }

# Runs the tool in $WORK with the arguments; sets OUT (the console, the build
# stamp masked) and RC.
run() {
    (cd "$WORK" && "$TOOL" "$@" >"$WORK/.console" 2>&1)
    RC=$?
    OUT=$(sed -E 's/\(([A-Z][a-z]{2} [ 0-9][0-9] [0-9]{4}) : ([0-9]{2}:){2}[0-9]{2}\)/(DATE : TIME)/' "$WORK/.console")
}

expect_rc() { # name expected
    [ "$RC" = "$2" ] || fail "$1: exit code $RC, expected $2"
}

expect_out() { # name expected-text
    [ "$OUT" = "$2" ] || { fail "$1: output differs"; diff <(echo "$2") <(echo "$OUT"); }
}

contains() { # name text
    grep -qF -- "$2" <<<"$OUT" || fail "$1: no line '$2' in: $OUT"
}

usage_with() { # signs of linkdir gpp noline eq eqonly namespace s o
    set -- $1
    cat <<USAGE
mosa++ - release (DATE : TIME)
usage: mosa++ [options] equation
Options (defaults as + / -):
  -linkdir            generate one directory for each link lib ($1)
  -gpp                generate g++ output ($2)
  -noline             do not create line directives ($3)
  -eq                 compose equations ($4)
  -eqonly             only compose equation files ($5)
  -namespace          create namespace, defaults to equation ($6)
  -s                  source directory ($7)
  -o                  output directory ($8)
USAGE
}

USAGE=$(usage_with "- + - - - - - -")

# The usage: no argument (exit 1), and --help or -help anywhere (asked
# for: exit 0, no unknown-option line).
run
expect_rc "usage ''" 1
expect_out "usage ''" "$USAGE"
for args in "--help" "-help" "--help x" "x -help"; do
    run $args
    expect_rc "usage '$args'" 0
    expect_out "usage '$args'" "$USAGE"
done

# An unknown option: reported, options set before it show (+).
run -noline -eqonly -foo -eq x
expect_rc "unknown option" 1
expect_out "unknown option" "unknown option: -foo
$(usage_with "- + + - + - - -")"
run -o=x --help
expect_rc "--help after an option" 0
expect_out "--help after an option" "$USAGE"

# An empty program name (argv[0] "") works: the usage line keeps two blanks.
OUT=$(cd "$WORK" && (exec -a "" "$TOOL") 2>&1)
RC=$?
expect_rc "empty argv[0]" 1
contains "empty argv[0]" "usage:  [options] equation"

# A product line with two empty layers.
mkdir -p "$WORK/p/A" "$WORK/p/B"
printf 'A\nB dynamicload\n' >"$WORK/p/prod.equation"
touch -d '-10 seconds' "$WORK/p/prod.equation"

# Equations that cannot be loaded.
run "$WORK/p/none"
expect_rc "missing equation" 1
expect_out "missing equation" "mosa++ : error: failed to load equation file '$WORK/p/none'
encountered errors"
run -gpp
expect_rc "no equation" 1
expect_out "no equation" "mosa++ : error: no equation given: write the equation file after the options"

printf 'A\nimport loop\n' >"$WORK/p/cyc.equation"
printf 'import cyc as .\n' >"$WORK/p/loop.equation"
run "$WORK/p/cyc"
expect_rc "import cycle" 1
contains "import cycle" "error: recursive import of equation file"
contains "import cycle" "encountered errors"
printf 'A\nimport gone\n' >"$WORK/p/imp.equation"
run "$WORK/p/imp"
expect_rc "missing import" 1
contains "missing import" "failed to load equation file '$WORK/p/gone'"

# Unusable folders: nothing is written anywhere.
echo text >"$WORK/file"
run -s="$WORK/nowhere" "$WORK/p/prod"
expect_rc "-s missing" 1
expect_out "-s missing" "mosa++ : error: source folder '$WORK/nowhere' not found
encountered errors"
run -s="$WORK/file" "$WORK/p/prod"
expect_rc "-s a file" 1
contains "-s a file" "error: source folder '$WORK/file' not found"
run -o="$WORK/file/out" "$WORK/p/prod"
expect_rc "-o below a file" 1
contains "-o below a file" "error: cannot create output folder '$WORK/file/out'"
run -o="$WORK/p" "$WORK/p/prod"
expect_rc "-o the source folder" 1
contains "-o the source folder" "contains sources; refusing to use it"
[ -e "$WORK/p/mosac.log.xml" ] && fail "a log was written into the source folder"
[ "$(ls -A "$WORK/p/A")" = "" ] || fail "a layer folder was written to"

# A relative -o in a current folder that is gone: refused, nothing at "/".
mkdir "$WORK/gone"
OUT=$(cd "$WORK/gone" && rmdir "$WORK/gone" && "$TOOL" -o=./mosa-out-$$ "$WORK/p/prod" 2>&1)
RC=$?
expect_rc "-o in a removed folder" 1
contains "-o in a removed folder" "mosa++ : error: cannot create output folder './mosa-out-$$'"
[ -e "/mosa-out-$$" ] && { fail "-o in a removed folder: folder made at /"; rmdir "/mosa-out-$$"; }

# -eqonly: the equation is loaded, nothing parsed; the hidden default
# output folder is named.
run -eqonly "$WORK/p/prod"
expect_rc "-eqonly" 0
expect_out "-eqonly" "output folder $WORK/p/.output.prod"

# An equation whose folder's name holds the word "equation".
mkdir -p "$WORK/equations/A"
printf 'A\n' >"$WORK/equations/q.equation"
run -eqonly "$WORK/equations/q"
expect_rc "folder named equations" 0

# Success.
run "$WORK/p/prod"
expect_rc "success" 0
contains "success" "parsing.."
contains "success" "layer B: 0 LoC"

# Without argv[0] the program is still found (its time decides rebuilds).
OUT=$(cd "$WORK" && (exec -a "" "$TOOL" "$WORK/p/prod") 2>&1)
RC=$?
expect_rc "empty argv[0] with equation" 0
contains "empty argv[0] with equation" "parsing.."
grep -q "unable to stat" <<<"$OUT" && fail "empty argv[0]: program not found: $OUT"

[ $FAILS = 0 ] && echo "startup: all passed"
exit $((FAILS > 0))
