#!/bin/bash
# Mistakes in the equation and on the command line. Each equation row is a
# product line whose equation holds one mistake: the run exits 1 with an
# error at the equation's file and line (or at the link or file that holds
# the mistake) and writes nothing. Each command-line row is refused with
# the reason and writes nothing. The accepted rows compose, compile and run.
# Usage: mistakes_equation.sh <mosa++> <fixtures-dir>
set -u
source "$(dirname "$0")/lib/common.bash" "$1"
source "$(dirname "$0")/lib/mistakes.bash"

# A product line: A introduces Stack, B refines it; main.cpp prints f().
stack_line() {
    new_line "$1"
    put A/Stack.h <<'EOF'
class Stack {
public:
    int f() { return 1; }
};
EOF
    put B/Stack.h <<'EOF'
refines class Stack {
public:
    int f() { return super::f() + 10; }
};
EOF
    put main.cpp <<'EOF'
#include <iostream>
#include "Stack.h"
int main() { Stack s; std::cout << s.f() << "\n"; }
EOF
}

# Layers that do not exist, or lines that name no layer.
stack_line 'A\nloging'
mistake "misspelt layer" "p.equation(2)" "folder $PL/loging for feature loging does not exist; correct the layer's name" Stack
stack_line 'A\n../B'
mistake "layer above the sources" "p.equation(2)" "'../B' is no layer name: a layer is a folder path below the source folder" Stack
stack_line "A\n$WORK/B"
mistake "absolute layer path" "p.equation(2)" "'$WORK/B' is no layer name" Stack
stack_line 'A\nB/'
mistake "layer path with an empty part" "p.equation(2)" "'B/' is no layer name" Stack
stack_line '/* old layers */\nA\nB'
mistake "block comment" "p.equation(1)" "(comment lines begin with #, ; or //)" Stack
stack_line 'A\nimport\nB'
mistake "import without a file" "p.equation(2)" "'import' names no equation file" Stack
stack_line 'A\ncompose statc\nB'
mistake "compose static misspelt" "p.equation(2)" "'compose statc' is no layer line: did you mean \`compose static\`?" Stack
stack_line 'A\nB\nimport more'
mistake "import of a missing file" "p.equation(3)" "failed to load equation file" Stack
stack_line 'A\nimport more'
printf 'B\nloging\n' >"$PL/more.equation"
mistake "missing layer of an imported file" "more.equation(2)" "folder $PL/more/loging for feature loging does not exist" Stack
stack_line 'A\nimport more'
printf 'import p\n' >"$PL/more.equation"
mistake "import cycle" "more.equation(1)" "recursive import of equation file" Stack

# Words after the layer name.
stack_line 'A\nB dynamicloda'
mistake "misspelt keyword" "p.equation(2)" "not as the keyword 'dynamicload': did you mean \`dynamicload\`?" Stack
stack_line 'A\nB Dynamiclink'
mistake "keyword in other case" "p.equation(2)" "(keywords are lower case): did you mean \`dynamiclink\`?" Stack
stack_line 'A\nB bindingunit'
mistake "binding unit without a name" "p.equation(2)" "'bindingunit' names no binding unit for layer B" Stack
stack_line 'A\nB Undo Redo\nlibDynConditionalConfig'
mkdir -p "$PL/libDynConditionalConfig"
mistake "second switch word" "p.equation(2)" "'Redo' for layer B means nothing" Stack
stack_line 'A\nB Undo'
mistake "switch without a configuration layer" "p.equation(2)" \
    "the run-time feature switch 'Undo' of layer B needs a configuration layer" Stack
stack_line 'A\nB bindingunit 9lives'
mistake "unit name no identifier" "p.equation(2)" "invalid binding unit '9lives' for layer B" Stack
stack_line 'A\nB-x dynamicload'
mv "$PL/B" "$PL/B-x"
mistake "unit named after a layer that is no identifier" "p.equation(2)" \
    "the binding unit 'B-x' of layer B-x is not a C++ identifier" Stack
stack_line 'A\nB undo-it\nlibDynConditionalConfig'
mkdir -p "$PL/libDynConditionalConfig"
mistake "switch name no identifier" "p.equation(2)" "the run-time feature switch 'undo-it' of layer B is not a C++ identifier" Stack
stack_line 'A\nB dynamicload'
mv "$PL/p.equation" "$PL/my-line.equation"
run_in "$PL" -o="$PL/out" my-line.equation
check_mistake "product-line name no identifier" "$PL/my-line.equation" \
    "the product-line name 'my-line' is not a C++ identifier" Stack

# Derived layers whose link leads nowhere.
stack_line 'A\nB'
printf '../gone' >"$PL/B/A.link"
mistake "link file to a missing folder" "B/A.link" "cannot resolve link: the folder '../gone' it names does not exist" Stack
stack_line 'A\nB'
ln -s ../gone "$PL/B/A"
mistake "symbolic link to a missing folder" "B/A" "cannot resolve link: the folder '../gone' it names does not exist" Stack

# A layer's own equation file (-eq) naming a missing layer.
stack_line 'A\nB'
printf 'loging\n' >"$PL/A/sub.equation"
compose_line -eq
check_mistake "-eq: missing layer" "$PL/out/sub.equation(1)" "folder $PL/loging for feature loging does not exist" Stack

# The correct forms compose.
stack_line '# comment\n; comment\n// comment\nA\nimport more as .\ncompose static\nB'
put gui/base/Stack.h <<'EOF'
refines class Stack {
public:
    int f() { return super::f() + 100; }
};
EOF
printf 'gui/base\n' >"$PL/more.equation"
accepted "comments, import, compose static" "111"
stack_line 'A\ngui.base\nB'
put gui/base/Stack.h <<'EOF'
refines class Stack {
public:
    int f() { return super::f() + 100; }
};
EOF
accepted "dotted layer name" "111"

# The command line: refused with the reason, nothing written.
# refused NAME TEXT ARGS...: runs the tool in $PL with ARGS.
refused() {
    local name=$1 text=$2
    shift 2
    rm -rf "$PL/out" "$PL/.output.p"
    run_in "$PL" "$@"
    [ "$RC" = 1 ] || fail "$name: exit code $RC, expected 1; console:
$OUT"
    grep -qxF -- "mosa++ : error: $text" <<<"$OUT" || fail "$name: no error '$text' in:
$OUT"
    [ -e "$PL/out" ] || [ -e "$PL/.output.p" ] && fail "$name: an output folder was written"
    [ -e "$PL/p.equation" ] || fail "$name: the equation is gone"
}
stack_line 'A\nB'
refused "-o with a space" "options take '=': -o=out" -o out p.equation
refused "-s with a space" "options take '=': -s=." -s . p.equation
refused "-namespace with a space" "options take '=': -namespace=ns" -namespace ns p.equation
refused "empty -o=" "-o names no folder: write -o=<folder>" -o= p.equation
refused "empty -s=" "-s names no folder: write -s=<folder>" -s= p.equation
refused "option after the equation" "options go before the equation: -noline follows 'p.equation'" p.equation -noline
refused "second equation" "one equation per run: 'q.equation' follows the equation 'p.equation'" p.equation q.equation
refused "switch with a value" "the switch -noline takes no value: write -noline" -noline=1 p.equation
refused "no equation" "no equation given: write the equation file after the options" -noline
mkdir -p "$WORK/elsewhere"
refused "source folder without the layers" \
    "the source folder '$WORK/elsewhere' (-s) holds none of the layers of the equation; -s=<folder> names the folder that holds the layer folders" \
    -s="$WORK/elsewhere" -o=out p.equation

# --help asks for the usage.
for help in --help -help; do
    run_in "$PL" $help
    [ "$RC" = 0 ] || fail "$help: exit code $RC"
    grep -q '^usage: mosa++ \[options\] equation$' <<<"$OUT" || fail "$help: no usage in: $OUT"
done

# Without -o the run names the hidden folder it writes.
run_in "$PL" p.equation
[ "$RC" = 0 ] || fail "default output folder: exit code $RC: $OUT"
grep -qxF "output folder $PL/.output.p" <<<"$OUT" || fail "default output folder not named: $OUT"
[ -f "$PL/.output.p/Stack.h" ] || fail "default output folder: no Stack.h"

[ $FAILS = 0 ] && echo "mistakes_equation: all passed"
exit $((FAILS > 0))
