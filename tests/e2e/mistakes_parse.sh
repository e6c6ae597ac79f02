#!/bin/bash
# Slips that break a module's structure: a brace, bracket, comment or
# literal left open or closed once too often, and a word before the class
# key that is not `refines`. Each fails the module with an error at the line
# where the construct opens (and, where the end of the file cuts it off, at
# the file's last line), exit 1, and nothing of the class is written. The
# correct forms beside them compose, compile and run.
# Usage: mistakes_parse.sh <mosa++> <fixtures-dir>
set -u
source "$(dirname "$0")/lib/common.bash" "$1"
source "$(dirname "$0")/lib/mistakes.bash"

# A product line whose base layer A introduces Stack with f and g; the
# module of layer B (file $1, default B/Stack.h) comes from standard input.
cpp_line() {
    new_line
    put A/Stack.h <<'EOF'
#include <cstdio>
class Stack {
public:
    void f() { std::puts("A.f"); }
    void g() { std::puts("A.g"); }
};
EOF
    put main.cpp <<'EOF'
#include "Stack.h"
int main() { Stack s; s.f(); s.g(); }
EOF
    put "${1:-B/Stack.h}"
}

java_line() {
    new_line
    put A/Stack.jak <<'EOF'
class Stack {
    void f() { System.out.println("A.f"); }
    void g() { System.out.println("A.g"); }
}
EOF
    put B/Stack.jak
}

# ---- Braces, brackets, comments and literals left open ----

cpp_line <<'EOF'
refines class Stack {
public:
    void f() { {
        super::f();
    }
    void g() { super::g(); }
};
EOF
mistake "a '{' too many" "B/Stack.h(1)" "'{' never closed: the file ends first" Stack
grep -qF "$PL/B/Stack.h(3) : error: this '{' is closed only by the '}' on line 7" <<<"$OUT" ||
    fail "a '{' too many: the line of the slip is not named: $OUT"
contains "a '{' too many: end of file" \
    "$PL/B/Stack.h(7) : error: unexpected end of file: the '{' of line 1 is never closed; add the missing '}' or remove the '{' too many"

cpp_line <<'EOF'
refines class Stack {
public:
    void f() { super::f(); } }
    void g() { super::g(); }
};
EOF
mistake "a '}' too many" "B/Stack.h(5)" "'}' closes nothing" Stack

cpp_line <<'EOF'
refines class Stack {
public:
    void f() { super::f(); }
    void g() { super::g(); }
EOF
mistake "a class body never closed" "B/Stack.h(1)" "'{' never closed: the file ends first" Stack
contains "class body never closed: end of file" \
    "$PL/B/Stack.h(4) : error: unexpected end of file: the '{' of line 1 is never closed; add the missing '}' or remove the '{' too many"

cpp_line <<'EOF'
refines class Stack {
public:
    void f() { super::f(); }
    /* g as well
    void g() { super::g(); }
};
EOF
mistake "an unterminated comment" "B/Stack.h(4)" "unterminated comment" Stack
contains "an unterminated comment: end of file" \
    "$PL/B/Stack.h(6) : error: unexpected end of file: the comment of line 4 is never closed; add the '*/'"

cpp_line <<'EOF'
refines class Stack {
public:
    void f() { std::puts(R"x(B.f)"); super::f(); }
    void g() { super::g(); }
};
EOF
mistake "an unterminated raw string" "B/Stack.h(3)" "unterminated raw string literal: no ')x\"' closes the 'R\"x('" Stack

cpp_line <<'EOF'
refines class Stack {
public:
    void f() { std::puts("B.f); super::f(); }
};
EOF
mistake "an unterminated string" "B/Stack.h(3)" "unterminated string literal" Stack

cpp_line <<'EOF'
refines class Stack {
public:
    void f() { std::putchar('x); super::f(); }
};
EOF
mistake "an unterminated character" "B/Stack.h(3)" "unterminated character literal" Stack

cpp_line <<'EOF'
refines class Stack {
public:
    void f(int x { super::f(); }
};
EOF
mistake "an unclosed '('" "B/Stack.h(3)" "'(' never closed: the '}' on line 4 comes first" Stack

cpp_line <<'EOF'
refines class Stack {
public:
    int m_a[2;
    void f() { super::f(); }
};
EOF
mistake "an unclosed '['" "B/Stack.h(3)" "'[' never closed: the '}' on line 5 comes first" Stack

cpp_line <<'EOF'
refines class Stack : public Base
EOF
mistake "a class head without a body" "B/Stack.h(1)" "unexpected end of file: the class head has no body" Stack

# The base module of a class can slip as well.
new_line 'A'
put A/Stack.h <<'EOF'
class Stack {
public:
    void f() { }
}};
EOF
mistake "a '}' too many in the base module" "A/Stack.h(4)" "'}' closes nothing" Stack

# Java-like modules.
java_line <<'EOF'
refines class Stack {
    void f() { Super().f(); } }
    void g() { Super().g(); }
}
EOF
mistake "a '}' too many in a .jak module" "B/Stack.jak(4)" "'}' closes nothing" Stack

java_line <<'EOF'
refines class Stack {
    void f() { Super().f(); } }
    void g() { Super().g(); }
EOF
mistake "a '}' too many closes the .jak class early" "B/Stack.jak(3)" "method 'g' stands outside every class" Stack

java_line <<'EOF'
refines class Stack {
    void f() { Super().f(); {
    void g() { Super().g(); }
}
EOF
mistake "a '{' too many in a .jak module" "B/Stack.jak(2)" "'{' never closed: the file ends first" Stack
contains "a '{' too many in a .jak module: the slip" \
    "$PL/B/Stack.jak(2) : error: this '{' is closed only by the '}' on line 4, which is indented otherwise: is this '{' one too many, or is a '}' missing before line 4?"

new_line 'A\nB'
put A/Stack.java <<'EOF'
public class Stack {
    /* the stack
    void f() { }
}
EOF
put B/Other.java <<'EOF'
public class Other { }
EOF
mistake "an unterminated comment in a .java module" "A/Stack.java(2)" "unterminated comment" Stack

new_line 'A'
put A/Stack.cs <<'EOF'
public class Stack {
    void F() { string s = "x; }
}
EOF
mistake "an unterminated string in a .cs module" "A/Stack.cs(2)" "unterminated string literal" Stack

# ---- A word before the class key that is not `refines` ----

for word in refine Refines refiens; do
    cpp_line <<EOF
$word class Stack {
public:
    void f() { super::f(); }
};
EOF
    mistake "'$word class'" "B/Stack.h(1)" "unknown word '$word' before the class head of Stack: did you mean 'refines'?" Stack
done

cpp_line <<'EOF'
refines class {
public:
    void f() { super::f(); }
};
EOF
mistake "'refines class' without a name" "B/Stack.h(1)" "'refines class' without a class name" Stack

cpp_line <<'EOF'
// nothing but the keyword
refines
EOF
mistake "a module of only 'refines'" "B/Stack.h(2)" "'refines' without a class head after it" Stack

cpp_line <<'EOF'
refines Stack {
    void f() { super::f(); }
};
EOF
mistake "'refines' without 'class'" "B/Stack.h(1)" "'refines' is followed by 'Stack', not by a class key" Stack

cpp_line <<'EOF'
refines class Stack : mixin {
public:
    void f() { super::f(); }
};
EOF
mistake "'mixin' without a name" "B/Stack.h(1)" "'mixin' in the base list is not followed by a class name" Stack

java_line <<'EOF'
publc refines class Stack {
    void f() { Super().f(); }
}
EOF
mistake "a misspelt modifier in a .jak module" "B/Stack.jak(1)" "unknown word 'publc' before the class head of Stack" Stack

# ---- The correct forms compose, compile and run ----

cpp_line <<'EOF'
// A refinement whose comments and literals hold brackets and quotes.
#include <cstdio>
#define OPEN_BLOCK {
refines class Stack {
public:
    /* } ) ] " ' */
    void f() { std::puts(R"x(B.f "}" )x"); super::f(); }
    void g() { std::printf("%c%s\n", '}', ")]"); super::g(); }
};
EOF
accepted "brackets in comments and literals" 'B.f "}" 
A.f
})]
A.g'

cpp_line <<'EOF'
#include <cstdio>
template <class T = int> refines class Stack : mixin Printer {
public:
    void f() { print(); super::f(); }
};
EOF
put A/Printer.h <<'EOF'
#include <cstdio>
class Printer {
public:
    void print() { std::puts("print"); }
};
EOF
put main.cpp <<'EOF'
#include "Stack.h"
int main() { Stack<> s; s.f(); s.g(); }
EOF
# The template head belongs to the class's lowest module.
put A/Stack.h <<'EOF'
#include <cstdio>
template <class T = int> class Stack {
public:
    void f() { std::puts("A.f"); }
    void g() { std::puts("A.g"); }
};
EOF
accepted "a template head and a mixin before and after the key" 'print
A.f
A.g'

[ $FAILS = 0 ] && echo "mistakes_parse: all passed"
exit $((FAILS > 0))
