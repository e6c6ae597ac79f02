#!/bin/bash
# The output of composed classes: declaration and implementation files of
# each module kind, byte for byte where their text is fixed, includes and
# forward declarations, the namespace frame, the layer banners, trailing
# code, write errors; every generated C++ file must compile.
# Usage: output.sh <mosa++> <fixtures-dir>
set -u
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
FAILS=0
TOOL=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")

fail() { echo "FAIL: $*"; FAILS=$((FAILS + 1)); }

# Composes the product line in folder $1 (equation p.equation) into $1/out
# with the further options; sets OUT and RC.
compose() {
    local dir=$1
    shift
    touch -d '-10 seconds' "$dir/p.equation" $(find "$dir" -path "$dir/out" -prune -o -type f -print)
    (cd "$dir" && "$TOOL" "$@" -o="$dir/out" p.equation >"$WORK/stdout" 2>&1)
    RC=$?
    OUT=$(cat "$WORK/stdout")
}

# Compares a generated file with the expected text.
same() { # file expected
    if [ ! -f "$1" ]; then
        fail "$1 was not written"
    elif [ "$(cat "$1"; echo x)" != "$2"x ]; then
        fail "$1 differs:"
        diff <(printf '%s' "$2") "$1"
    fi
}
# The file from its first line that equals $2 on (the text before the class
# head is the modules' own).
from() { # file first-line
    [ -f "$1" ] && awk -v first="$2" '$0 == first { on = 1 } on' "$1"
}
same_from() { # file first-line expected
    local got
    got=$(from "$1" "$2"; echo x)
    [ "$got" = "$3"x ] || { fail "$1 differs from '$2' on:"; diff <(printf '%s' "$3") <(from "$1" "$2"); }
}
guarded() { # file symbol
    [ "$(head -3 "$1" 2>/dev/null; echo x)" = "#ifndef $2
#define $2

x" ] || fail "$1 does not begin with the guard $2"
}
absent() { [ -e "$1" ] && fail "$1 should not exist"; }
compiles() { # folder file...
    local dir=$1
    shift
    for f in "$@"; do
        g++ -std=c++17 -fsyntax-only -I"$dir" "$dir/$f" || fail "$dir/$f does not compile"
    done
}
module() { # path text
    mkdir -p "$(dirname "$1")"
    printf '%s' "$2" >"$1"
}

# --- The shipped templates lie beside the built tool, and the tool reads
# each of them: editing one changes what it writes. ---
SOURCES=$(cd "$(dirname "$0")/../../src" && pwd)
for f in "$SOURCES"/../codetemplates/general/*.templ.*; do
    t=$(basename "$f"); t=${t%%.templ.*}
    [ -f "$(dirname "$TOOL")/codetemplates/general/$(basename "$f")" ] || fail "template $t is not beside $TOOL"
    grep -rqF "\"$t\"" "$SOURCES" || fail "template $t is shipped but never read"
done

# --- One layer, no code after the class: the header only. ---
P=$WORK/one
module "$P/base/Foo.h" $'#include <string>\n\nclass Foo {\npublic:\n    std::string name;\n};\n'
printf 'base\n' >"$P/p.equation"
compose "$P"
[ "$RC" = 0 ] || fail "one layer: exit code $RC: $OUT"
guarded "$P/out/Foo.h" Foo_h__included
same_from "$P/out/Foo.h" "class Foo {" "class Foo {
//**** Layer base ****
#line 3 \"$P/base/Foo.h\"

public:
    std::string name;

#line 6 \"$P/base/Foo.h\"
};
#endif //Foo_h__included

"
grep -qxF "#include <string>" "$P/out/Foo.h" || fail "text before the class is missing"
absent "$P/out/Foo.cpp"
compiles "$P/out" Foo.h

# --- Two layers, code after the class in the upper one; -noline. ---
P=$WORK/two
module "$P/base/Foo.h" $'class Foo {\npublic:\n    int a;\n};\n'
module "$P/ext/Foo.h" $'refines class Foo {\npublic:\n    int b;\n    int sum();\n};\n\nint Foo::sum() { return a + b; }\n'
module "$P/ext/Bar.h" $'refines class Bar {};\n'
module "$P/base/Bar.h" $'class Bar {\n};\n'
printf 'base\next\n' >"$P/p.equation"
compose "$P" -noline
same_from "$P/out/Foo.h" "class Foo {" "class Foo {
//**** Layer base ****
public:
    int a;

//**** Layer ext ****
public:
    int b;
    int sum();
};
#endif //Foo_h__included

"
same "$P/out/Foo.cpp" "#include \"Foo.h\"


int Foo::sum() { return a + b; }

"
# Empty bodies: the banners and nothing of the braces.
same_from "$P/out/Bar.h" "class Bar {" "class Bar {
//**** Layer base ****

//**** Layer ext ****
};
#endif //Bar_h__included

"
compiles "$P/out" Foo.cpp Bar.h

# --- The trailing definition follows a line directive. ---
P=$WORK/trail
module "$P/base/T.h" $'class T {\npublic:\n    int f();\n};\n\nint T::f() { return 1; }\n'
printf 'base\n' >"$P/p.equation"
compose "$P"
same "$P/out/T.cpp" "#include \"T.h\"

#line 4 \"$P/base/T.h\"


int T::f() { return 1; }

"
compiles "$P/out" T.cpp

# --- Includes and forward declarations; the namespace frame. ---
P=$WORK/uses
module "$P/base/A.h" $'class A {\n    B* p;\n    C c;\n    D& r;\n    E* e;\npublic:\n    A(D& d) : r(d) {}\n};\n\nvoid useE(E&) {}\n'
for n in B C D E; do module "$P/base/$n.h" "class $n { public: int v; };"; done
printf 'base\n' >"$P/p.equation"
compose "$P" -namespace=NS -noline
guarded "$P/out/A.h" A_h__included
same_from "$P/out/A.h" '#include "C.h"' "#include \"C.h\"
namespace NS{
class B;
class D;
class E;
class A {
//**** Layer base ****
    B* p;
    C c;
    D& r;
    E* e;
public:
    A(D& d) : r(d) {}
};

void useE(E&);


} //end namespace NS

#endif //A_h__included

"
# The function after the class is defined in the implementation file,
# inside the namespace where the header declares it.
same "$P/out/A.cpp" "#include \"A.h\"
#include \"B.h\"
#include \"D.h\"
#include \"E.h\"
using namespace NS;
namespace NS{


void useE(E&) {}


} //end namespace NS

"
same_from "$P/out/B.h" "namespace NS{" "namespace NS{
class B {
//**** Layer base ****
 public: int v; };

} //end namespace NS

#endif //B_h__included

"
compiles "$P/out" A.cpp
# The include lists enter the dependency file; forward declarations do not.
for line in decl:C impl:B impl:D impl:E; do
    grep -qxF "$line" "$P/out/A.dep" || fail "A.dep lacks $line: $(cat "$P/out/A.dep")"
done
# A class name followed by ";" is used in a forward declaration.
P=$WORK/semi
module "$P/base/A.h" $'class A { B* p; C c; D& r; E; };\n'
for n in B C D E; do module "$P/base/$n.h" "class $n {};"; done
printf 'base\n' >"$P/p.equation"
compose "$P" -noline
[ "$(grep -E '^(#include|class [A-E];)' "$P/out/A.h" | tr '\n' ' ')" = '#include "C.h" class B; class D; class E; ' ] ||
    fail "include versus forward: $(cat "$P/out/A.h")"

# --- Module kinds without implementation file. ---
P=$WORK/kinds
module "$P/base/Asp.ah" $'aspect Asp {\n    int x;\n};\n\nint helper() { return 1; }\n'
module "$P/ext/Asp.ah" $'refines aspect Asp {\n    int y;\n};\n'
module "$P/base/K.jak" $'layer base;\npublic class K {\n    void f() throws Exception {}\n}\n'
module "$P/ext/K.jak" $'layer ext;\npublic refines class K {\n    void g() {}\n}\n'
printf 'base\next\n' >"$P/p.equation"
compose "$P" -noline
same_from "$P/out/Asp.ah" "aspect Asp {" "aspect Asp {
//**** Layer base ****
    int x;

//**** Layer ext ****
    int y;
};

int helper() { return 1; }
"
head -1 "$P/out/Asp.ah" | grep -q '^//Layer base$' || fail "an aspect header has no guard"
absent "$P/out/Asp.acc"
absent "$P/out/Asp.cpp"
grep -q '^    void f() throws Exception {}$' "$P/out/K.java" || fail "jak throws: $(cat "$P/out/K.java")"
grep -q '^//layer base;$' "$P/out/K.java" || fail "jak layer line: $(cat "$P/out/K.java")"
grep -q '^//\*\*\*\* Layer ext \*\*\*\*$' "$P/out/K.java" || fail "jak banner: $(cat "$P/out/K.java")"
[ "$(cd "$P/out" && ls K.*)" = "K.dep
K.java" ] || fail "jak outputs: $(ls "$P/out")"

# Code after a jak class cannot be written: a warning says so.
P=$WORK/jak
module "$P/base/K.jak" $'public class K {\n}\n'
printf 'base\next\n' >"$P/p.equation"
module "$P/ext/K.jak" $'layer ext;\npublic refines class K {\n    void g() {}\n};\nint after;\n'
compose "$P" -noline
grep -qF "$P/ext/K.jak : warning: code after the class declaration is not written" <<<"$OUT" ||
    fail "no warning for code after a jak class: $OUT"

# --- Two binding units: two declaration files, each with its own guard. ---
P=$WORK/units
module "$P/base/A.h" $'class A {\npublic:\n    int a;\n};\n'
module "$P/ext/A.h" $'refines class A {\npublic:\n    int b;\n};\n'
printf 'base\next bindingunit U\n' >"$P/p.equation"
compose "$P" -noline
grep -q '^#define A__base_h__included$' "$P/out/A__base.h" || fail "unit base: $(ls "$P/out")"
grep -q '^#define A__U_h__included$' "$P/out/A__U.h" || fail "unit U: $(ls "$P/out")"

# --- An output file that cannot be written is an error. ---
P=$WORK/blocked
module "$P/base/Foo.h" $'class Foo {};\n'
printf 'base\n' >"$P/p.equation"
mkdir -p "$P/out/Foo.h"
compose "$P"
grep -qF "mosa++ : error: cannot write file $P/out/Foo.h" <<<"$OUT" || fail "blocked output: $OUT"

[ "$FAILS" = 0 ] || { echo "$FAILS failures"; exit 1; }
echo "all output checks passed"
