#!/bin/bash
# Refinements that match nothing below, and refinements whose class head
# differs from their class's: each row is a small product line with one
# such mistake, which must be an error naming the module's file and line
# (and, where it helps, the lower versions that exist). The correct forms
# compose without a message, compile and run: C++ with g++, Java with javac.
# Usage: mistakes_refine.sh <mosa++> <fixtures-dir>
set -u
source "$(dirname "$0")/lib/common.bash" "$1"
source "$(dirname "$0")/lib/mistakes.bash"

# A two-layer class S whose base layer has get(), put(int), a constructor
# S(int), a data member and a nested type.
base_s() {
    put A/S.h <<'EOF'
class S {
public:
    S(int x) : m(x) {}
    int get() { return m; }
    void put(int x) { m = x; }
    struct Node { int v; };
    int m;
};
EOF
}

# --- A refined method or constructor that matches no lower version. ---
refinement() {
    new_line
    base_s
    put B/S.h
}
refinement <<'EOF'
refines class S {
public:
    int get() const { return super::get() + 1; }
};
EOF
mistake "const differs" "B/S.h(3)" "super::get(..) in get() const refines no lower version, since none has its parameter types, const and reference qualifiers; the layers below have get() at $PL/A/S.h:4" S

refinement <<'EOF'
refines class S {
public:
    void put(long x) { super::put(x); }
};
EOF
mistake "parameter types differ" "B/S.h(3)" "super::put(..) in put(long) refines no lower version" S

refinement <<'EOF'
refines class S {
public:
    int size() { return super::size(); }
};
EOF
mistake "no lower method of the name" "B/S.h(3)" "invalid call to super - base class not found: super::size(..) in size() calls no lower version, since no layer below has a method size and class S has no base class" S

new_line A
put A/Lonely.h <<'EOF'
class Lonely {
public:
    int f() { return super::f(); }
};
EOF
mistake "lowest layer without a base class" "A/Lonely.h(3)" "super::f(..) in f() calls no lower version" Lonely

refinement <<'EOF'
refines class S {
public:
    S(long y) { m = 2; }
};
EOF
mistake "constructor matches no lower one" "B/S.h(3)" "constructor S(long) refines no lower constructor, since none has its parameter types; the layers below have S(int) at $PL/A/S.h:3: the callers of those would not run this body" S

new_line
put A/Router.h <<<'class Router { public: int f() { return 1; } };'
put B/Logger.h <<<'refines class Router { public: int f() { return super::f(); } };'
# The message names the class the module declares, as for a module that
# introduces a class.
mistake "refinement saved under another name" "B/Logger.h(1)" "class-name 'Router' does not match module name 'Logger'" Logger
lacks "refinement saved under another name" "class Logger is not composed"

# The same in Java-like and aspect modules.
jak_refinement() {
    new_line
    put A/S.jak <<'EOF'
class S {
    int m;
    S(int x) { m = x; }
    int get() { return m; }
    int f() { return 1; }
}
EOF
    put B/S.jak
}
jak_refinement <<'EOF'
refines class S {
    int get(int y) { return super.get(y) + 1; }
}
EOF
mistake "jak: parameter types differ" "B/S.jak(2)" "super.get(..) in get(int) refines no lower version, since none has its parameter types, const and reference qualifiers; the layers below have get() at $PL/A/S.jak:4" S
jak_refinement <<'EOF'
refines class S {
    int size() { return super.size(); }
}
EOF
mistake "jak: no lower method, no base class" "B/S.jak(2)" "super.size(..) in size() calls no lower version" S
jak_refinement <<'EOF'
refines class S {
    int f() { return super.get() + 1; }
}
EOF
mistake "jak: super.g() in f without a base class" "B/S.jak(2)" "invalid call to super.get(..) in f(): it calls the base class's get, as Java has it, but class S has no base class" S
jak_refinement <<'EOF'
refines class S {
    S(String s) { m = 3; }
}
EOF
mistake "jak: constructor matches no lower one" "B/S.jak(2)" "constructor S(String) refines no lower constructor" S

new_line
put A/C.ah <<<$'class C {\npublic:\n    int f() { return 1; }\n};'
put B/C.ah <<<$'refines class C {\npublic:\n    int g() { return super.g(); }\n};'
mistake "ah: super.g() with no lower g" "B/C.ah(3)" "super.g(..) in g() calls no lower version" C

# --- A class head that differs from the class's. ---
new_line
put A/Box.h <<<$'template <class T>\nclass Box {\npublic:\n    T get() const { return m_v; }\n    T m_v{};\n};'
put B/Box.h <<<$'template <class U>\nrefines class Box {\npublic:\n    U get() const { return super::get() + 1; }\n};'
mistake "another template head" "B/Box.h(1)" "the template head \`template<class U>\` of this refinement differs from \`template<class T>\` in $PL/A/Box.h" Box

refinement <<'EOF'
refines class S {
public:
    int m;
};
EOF
mistake "data member declared again" "B/S.h(3)" "data member m of class S is declared again; $PL/A/S.h:7 declares it" S

refinement <<'EOF'
refines class S {
public:
    struct Node { int w; };
};
EOF
mistake "nested type declared again" "B/S.h(3)" "nested type Node of class S is declared again; $PL/A/S.h:6 declares it" S

new_line
put A/Shape.h <<<'class Shape { public: virtual ~Shape() {} };'
put A/S.h <<<$'class S : public Shape {\npublic:\n    int f() { return 1; }\n};'
put B/S.h <<<$'refines class S : private Shape {\npublic:\n    int g() { return 2; }\n};'
mistake "base named with another access" "B/S.h(1)" "this refinement names the base class Shape with another access than $PL/A/S.h" S

new_line
put A/S.jak <<<$'class S implements Runnable {\n    public void run() { }\n}'
put B/S.jak <<<$'refines class S extends Thread {\n    int g() { return 2; }\n}'
mistake "jak: another extends" "B/S.jak(1)" "the class head of this refinement says \`extends Thread\`, but $PL/A/S.jak introduces class S with \`implements Runnable\`: a refinement cannot change what its class extends or implements" S
jak_refinement <<<$'refines class S {\n    int m;\n}'
mistake "jak: field declared again" "B/S.jak(2)" "data member m of class S is declared again; $PL/A/S.jak:2 declares it" S

new_line
put A/Router.h <<<'class Router { public: int f() { return 1; } };'
put B/Router.jak <<<'refines class Router { int f() { return super.f(); } }'
mistake "a .h class refined by a .jak module" "B/Router.jak(1)" "this Jak module refines class Router, which $PL/A/Router.h introduces as a C++ header module: the modules of a class must be of one kind" Router

new_line A
put A/Router.h <<<'class Router { public: int f() { return 1; } };'
put A/Router.jak <<<'class Router { int f() { return 1; } }'
compose_line
[ "$RC" = 1 ] || fail "a .h and a .jak in one layer: exit code $RC"
grep -q "Router.h and Router.jak in one layer both hold a module of class Router: only Router.jak is composed; remove or rename one of them" <<<"$OUT" ||
    fail "a .h and a .jak in one layer: no error in: $OUT"

# --- The correct forms compose, compile and run. ---
new_line
base_s
put A/Shape.h <<<$'class Shape {\npublic:\n    virtual ~Shape() {}\n    virtual int area() const { return 1; }\n};'
put A/Named.h <<<$'class Named {\npublic:\n    int id() const { return 7; }\n};'
put A/Sq.h <<<$'#include "Shape.h"\nclass Sq : public Shape {\npublic:\n    int area() const override { return 2 * super::area(); }\n};'
# A refinement that adds a method, a base class and a copy constructor,
# repeats the base as the class has it, and refines with the same
# signature; super:: of a method no layer below has calls the base class.
put B/S.h <<'EOF'
#include "Named.h"
refines class S : public Named {
public:
    S(int x) { m += x; }
    S(S const& o) : m(o.m + 100) {}
    int get() { return super::get() + 1; }
    int get() const { return m; }
    void put(int x) { super::put(x * 10); }
    int size() { return 3; }
};
EOF
put B/Sq.h <<<$'refines class Sq : public Shape {\npublic:\n    int area() const { return super::area() + 1; }\n};'
put main.cpp <<'EOF'
#include "S.h"
#include "Sq.h"
#include <cstdio>
int main()
{
    S s(2);
    S const c(s);
    s.put(4);
    Sq q;
    std::printf("%d %d %d %d %d %d\n", s.get(), c.get(), s.size(), s.id(), q.area(), s.m);
}
EOF
accepted "C++ refinements that match" "41 104 3 7 3 40"

# Java: a constructor and methods that refine, super of the root class's
# toString, and of the base class's method in a class that extends one.
new_line
put A/Base.jak <<<$'class Base {\n    int g() { return 5; }\n}'
put A/S.jak <<'EOF'
class S extends Base {
    int m;
    S(int x) { m = x; }
    int get() { return m; }
}
EOF
put B/S.jak <<'EOF'
refines class S {
    S(int y) { m += 1; }
    int get() { return super.get() * 10; }
    int g() { return super.g() + 1; }
    int h() { return super.g() + 100; }
    public String toString() { return "S" + super.toString().length(); }
}
EOF
put A/Main.jak <<'EOF'
public class Main {
    public static void main(String[] args) {
        S s = new S(3);
        System.out.println(s.get() + " " + s.g() + " " + s.h() + " " + (s.toString().charAt(0)));
    }
}
EOF
compose_line
[ "$RC" = 0 ] || fail "Java refinements that match: exit code $RC; console: $OUT"
grep -q 'warning\|error' <<<"$OUT" && fail "Java refinements that match: messages in: $OUT"
if javac -d "$PL/classes" "$PL"/out/*.java 2>"$PL/javac"; then
    got=$(java -cp "$PL/classes" Main 2>&1)
    [ "$got" = "40 6 105 S" ] || fail "Java refinements that match: the program prints '$got'"
else
    fail "Java refinements that match: javac refuses the composed sources: $(head -20 "$PL/javac")"
fi

# C# has no `super`: a call of the base class's version becomes `base.`.
new_line
put A/Entity.cs <<<$'class Entity {\n    public int Key() { return 5; }\n}'
put A/S.cs <<'EOF'
using System;
class S : Entity {
    public int m = 1;
    public int Get() { return m; }
    public static void Main() { S s = new S(); Console.WriteLine(s.Get() + " " + s.Twice() + " " + s.ToString()); }
}
EOF
put B/S.cs <<'EOF'
refines class S {
    public int Get() { return super.Get() + 1; }
    public int Twice() { return 2 * super.Key(); }
    public override string ToString() { return "S" + super.ToString().Length; }
}
EOF
compose_line
[ "$RC" = 0 ] || fail "C# base calls: exit code $RC; console: $OUT"
if command -v mcs >/dev/null && command -v mono >/dev/null; then
    if mcs -out:"$PL/a.exe" "$PL"/out/*.cs >"$PL/mcs" 2>&1; then
        got=$(mono "$PL/a.exe" 2>&1)
        [ "$got" = "2 10 S1" ] || fail "C# base calls: the program prints '$got'"
    else
        fail "C# base calls: mcs refuses the composed sources: $(head -20 "$PL/mcs")"
    fi
fi
put B/S.cs <<<$'refines class S {\n    public int Size() { return super.Size(); }\n}'
put A/Entity.cs <<<'class Entity { }'
put A/S.cs <<<$'class S {\n    public int m = 1;\n}'
rm -rf "$PL/out"
mistake "cs: no lower method, no base class" "B/S.cs(2)" "super.Size(..) in Size() calls no lower version" S

[ "$FAILS" = 0 ] || { echo "$FAILS failure(s)"; exit 1; }
echo "all refinement mistakes are errors, and the correct forms compose"
