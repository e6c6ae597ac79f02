#!/bin/bash
# Refinement composition through the whole tool: each case writes a small
# product line, composes it, compiles the composed sources with a small main
# (g++ -Wall -Werror) and runs the program, or checks the messages of a
# composition that cannot be built.
# Usage: compose.sh <mosa++> <fixtures-dir>
set -u
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
TOOL=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
FAILS=0
PASSES=0

fail() { echo "FAIL [$CASE]: $*"; FAILS=$((FAILS + 1)); }
ok() { PASSES=$((PASSES + 1)); }

module() { # path text
    mkdir -p "$(dirname "$1")"
    printf '%s' "$2" >"$1"
}

# Composes $DIR (equation p.equation) into $DIR/out without line
# directives, with the further options; sets OUT (console) and RC. The exit
# code must be 0, or 1 after --error for a composition that reports an error.
compose() {
    local want=0
    if [ "${1:-}" = --error ]; then
        want=1
        shift
    fi
    touch -d '-10 seconds' $(find "$DIR" -type f)
    (cd "$DIR" && "$TOOL" -noline "$@" -o="$DIR/out" p.equation >"$DIR/console" 2>&1)
    RC=$?
    OUT=$(cat "$DIR/console")
    [ "$RC" = $want ] || fail "exit code $RC: $OUT"
}

# Compiles main.cpp with the composed implementation files and runs it;
# the program's output must be the expected text.
runs() { # expected-output
    local sources
    sources=$(find "$DIR/out" -name '*.cpp' | sort)
    if ! g++ -std=c++17 -Wall -Wextra -Werror -I"$DIR/out" "$DIR/main.cpp" $sources -o "$DIR/prog" 2>"$DIR/gcc"; then
        fail "the composed sources do not compile:"
        cat "$DIR/gcc"
        return
    fi
    local got
    got=$("$DIR/prog" 2>&1)
    if [ "$got" != "$1" ]; then
        fail "program output differs:"
        diff <(printf '%s\n' "$1") <(printf '%s\n' "$got")
    else
        ok
    fi
}

has() { # file text
    if grep -qF -- "$2" "$1"; then ok; else fail "$(basename "$1") lacks: $2"; fi
}
lacks() { # file text
    if grep -qF -- "$2" "$1"; then fail "$(basename "$1") holds: $2"; else ok; fi
}
count() { # file text n
    local n
    n=$(grep -oF -- "$2" "$1" | wc -l)
    if [ "$n" = "$3" ]; then ok; else fail "$(basename "$1") holds '$2' $n times, not $3"; fi
}
unwritten() { # file: a class with an error leaves no output
    if [ -e "$1" ]; then fail "$(basename "$1") was written for a class with an error"; else ok; fi
}
said() { # text
    if grep -qF -- "$1" "$DIR/console"; then ok; else fail "console lacks: $1"$'\n'"$OUT"; fi
}

# The tool must compose at all; while it only prints its usage for a valid
# equation, there is nothing to test here.
CASE=probe
DIR=$WORK/probe
module "$DIR/base/Foo.h" $'class Foo {\npublic:\n    int x;\n};\n'
printf 'base\n' >"$DIR/p.equation"
(cd "$DIR" && "$TOOL" -o="$DIR/out" p.equation >"$DIR/console" 2>&1)
if grep -q '^usage:' "$DIR/console"; then
    echo "SKIP: $TOOL prints its usage for a valid equation; it does not compose yet"
    exit 0
fi

# --- A method refined by a second layer calls the lower one through super. ---
CASE=super
DIR=$WORK/super
module "$DIR/Base/Stack.h" '#include <vector>

class Stack {
public:
    void push(int x) { m_items.push_back(x); }
    int pop()
    {
        int x = m_items.back();
        m_items.pop_back();
        return x;
    }
    int top() const { return m_items.back(); }
private:
    std::vector<int> m_items;
};
'
module "$DIR/Log/Stack.h" '#include <iostream>

refines class Stack {
public:
    void push(int x)
    {
        std::cout << "push " << x << "\n";
        super::push(x);
    }
};
'
printf 'Base\nLog\n' >"$DIR/p.equation"
module "$DIR/main.cpp" '#include "Stack.h"
int main()
{
    Stack s;
    s.push(1);
    s.push(2);
    std::cout << s.pop() << s.top() << "\n";
    return 0;
}
'
compose
said '*** 4 methods (4 inlined), 1 extensions (1 inlined)'
has "$DIR/out/Stack.h" 'inline void Base_push(int x)'
has "$DIR/out/Stack.h" 'Base_push(x);'
lacks "$DIR/out/Stack.h" 'super'
lacks "$DIR/out/Stack.h" 'refines'
runs $'push 1\npush 2\n21'

# --- Three layers: method, constructors with initializers, destructor. ---
CASE=three
DIR=$WORK/three
module "$DIR/L0/C.h" '#include <iostream>

class C {
public:
    C(int n) : m_n(n) { std::cout << "L0 C " << n << "\n"; }
    C() : m_n(0) { std::cout << "L0 C()\n"; }
    ~C() { std::cout << "L0 ~C\n"; }
    int f(int x) { return x + m_n; }
    int m_n;
};
'
module "$DIR/L1/C.h" 'refines class C {
public:
    C(int n) : super(n), m_k(2 * n) { std::cout << "L1 C " << n << "\n"; }
    C() : m_k(1) { std::cout << "L1 C()\n"; }
    ~C() { std::cout << "L1 ~C\n"; }
    int f(int x) { return super::f(x) * 10; }
    int m_k;
};
'
module "$DIR/L2/C.h" 'refines class C {
public:
    C(int n) { std::cout << "L2 C " << n << " " << m_k << "\n"; }
    C() { std::cout << "L2 C()\n"; }
    ~C() { std::cout << "L2 ~C\n"; }
    int f(int x) { return super::f(x) + 1; }
};
'
printf 'L0\nL1\nL2\n' >"$DIR/p.equation"
module "$DIR/main.cpp" '#include "C.h"
int main()
{
    {
        C c(3);
        std::cout << c.f(1) << "\n";
    }
    C d;
    return 0;
}
'
compose
said '*** 12 methods (12 inlined), 8 extensions (8 inlined)'
has "$DIR/out/C.h" 'inline void L0_C(int n)'
has "$DIR/out/C.h" 'inline void L0_dtor_C()'
has "$DIR/out/C.h" 'inline void L1_dtor_C()'
count "$DIR/out/C.h" 'void L0_C()' 1
has "$DIR/out/C.h" 'L0_dtor_C();'
has "$DIR/out/C.h" 'C(int n) : m_n(n) ,  m_k(2 * n) {'
runs 'L0 C 3
L1 C 3
L2 C 3 6
41
L2 ~C
L1 ~C
L0 ~C
L0 C()
L1 C()
L2 C()
L2 ~C
L1 ~C
L0 ~C'

# --- A refined method defined after the class is not made inline. ---
CASE=after
DIR=$WORK/after
module "$DIR/L0/Counter.h" 'class Counter {
public:
    int next();
    int m_value = 0;
};

int Counter::next()
{
    return ++m_value;
}
'
module "$DIR/L1/Counter.h" 'refines class Counter {
public:
    int next();
};

int Counter::next()
{
    return super::next() * 100;
}
'
printf 'L0\nL1\n' >"$DIR/p.equation"
module "$DIR/use.cpp" '#include "Counter.h"
int twice(Counter& c) { return c.next() + c.next(); }
'
module "$DIR/main.cpp" '#include "Counter.h"
#include <iostream>
int twice(Counter& c);
int main()
{
    Counter c;
    std::cout << twice(c) << "\n";
    return 0;
}
'
compose
has "$DIR/out/Counter.h" '    int L0_next();'
has "$DIR/out/Counter.cpp" 'int Counter::L0_next()'
has "$DIR/out/Counter.cpp" 'return L0_next() * 100;'
lacks "$DIR/out/Counter.cpp" 'inline'
cp "$DIR/use.cpp" "$DIR/out/use.cpp"
runs '300'

# --- Constructors and destructors defined after the class in both layers. ---
CASE=outside
DIR=$WORK/outside
module "$DIR/L0/C.h" '#include <iostream>

class C {
public:
    C(int n);
    ~C();
    int m_n;
};

C::C(int n) : m_n(n)
{
    std::cout << "L0 " << n << "\n";
}

C::~C()
{
    std::cout << "L0 bye\n";
}
'
module "$DIR/L1/C.h" 'refines class C {
public:
    C(int n);
    ~C();
};

C::C(int n)
{
    std::cout << "L1 " << n << " " << m_n << "\n";
}

C::~C()
{
    std::cout << "L1 bye\n";
}
'
printf 'L0\nL1\n' >"$DIR/p.equation"
module "$DIR/main.cpp" '#include "C.h"
int main()
{
    C c(4);
    return 0;
}
'
compose
has "$DIR/out/C.cpp" 'void C::L0_C(int n)'
has "$DIR/out/C.cpp" 'void C::L0_dtor_C()'
runs 'L0 4
L1 4 4
L1 bye
L0 bye'

# --- super in the lowest layer: the base class, or an error. ---
CASE=lowest
DIR=$WORK/lowest
module "$DIR/L0/Shape.h" '#include <string>

class Shape {
public:
    virtual ~Shape() {}
    virtual std::string name() const { return "shape"; }
};
'
module "$DIR/L0/Square.h" 'class Square : public Shape {
public:
    std::string name() const override { return "square of " + super::name(); }
};
'
module "$DIR/L0/Lonely.h" 'class Lonely {
public:
    int f() { return super::f(); }
};
'
printf 'L0\n' >"$DIR/p.equation"
module "$DIR/main.cpp" '#include "Square.h"
#include <iostream>
int main()
{
    Square s;
    std::cout << s.name() << "\n";
    return 0;
}
'
compose --error
has "$DIR/out/Square.h" 'return "square of " + Shape::name();'
said "L0/Lonely.h(3) : error: invalid call to super - base class not found: super::f(..) in f() calls no lower version, since no layer below has a method f and class Lonely has no base class; call a method of this class instead, or write f in a lower layer first"
rm -f "$DIR/out/Lonely.h"
runs 'square of shape'

# --- super::g inside f is refused by the body walk; the class is not written. ---
CASE=other
DIR=$WORK/other
module "$DIR/L0/A.h" 'class A {
public:
    int f() { return 1; }
    int g() { return 2; }
};
'
module "$DIR/L1/A.h" 'refines class A {
public:
    int f() { return super::g(); }
};
'
printf 'L0\nL1\n' >"$DIR/p.equation"
compose --error
said "L1/A.h(3) : error: invalid call to super::g"
unwritten "$DIR/out/A.h"

# --- Refining an operator function is an error; the class is not written. ---
CASE=operator
DIR=$WORK/operator
module "$DIR/L0/V.h" 'class V {
public:
    V& operator+=(int k)
    {
        m_x += k;
        return *this;
    }
    int m_x = 0;
};
'
module "$DIR/L1/V.h" 'refines class V {
public:
    V& operator+=(int k)
    {
        m_x += 2 * k;
        return *this;
    }
};
'
printf 'L0\nL1\n' >"$DIR/p.equation"
compose --error
said "L0/V.h(3) : error: cannot refine operator function operator +="
unwritten "$DIR/out/V.h"

# --- Virtual and pure virtual functions refined by higher layers. ---
CASE=virtual
DIR=$WORK/virtual
module "$DIR/L0/Shape.h" '#include <string>

class Shape {
public:
    virtual ~Shape() {}
    virtual int area() const = 0;
    virtual std::string name() const { return "shape"; }
};
'
module "$DIR/L1/Shape.h" 'refines class Shape {
public:
    int area() const override { return 6; }
    std::string name() const override { return "L1 " + super::name(); }
};
'
module "$DIR/L2/Shape.h" 'refines class Shape {
public:
    std::string name() const { return "L2 " + super::name(); }
};
'
printf 'L0\nL1\nL2\n' >"$DIR/p.equation"
module "$DIR/main.cpp" '#include "Shape.h"
#include <iostream>
struct Square : Shape {
    int area() const override { return 9; }
    std::string name() const override { return "square"; }
};
int main()
{
    Shape plain;
    Square square;
    Shape& s = square;
    std::cout << plain.area() << " " << plain.name() << " " << s.area() << " " << s.name() << "\n";
    return 0;
}
'
compose
lacks "$DIR/out/Shape.h" 'L0_area'
has "$DIR/out/Shape.h" 'virtual int area() const'
has "$DIR/out/Shape.h" 'virtual std::string name() const'
has "$DIR/out/Shape.h" 'inline  std::string L0_name() const'
lacks "$DIR/out/Shape.h" 'override'
runs '6 L2 L1 shape 9 square'

# --- Base classes added by the second and the third layer. ---
CASE=bases
DIR=$WORK/bases
module "$DIR/L0/A.h" 'class A {
public:
    int a() const { return 1; }
};
'
module "$DIR/L0/B1.h" 'class B1 {
public:
    int b1() const { return 10; }
};
'
module "$DIR/L0/B2.h" 'class B2 {
public:
    int b2() const { return 100; }
};
'
module "$DIR/L1/A.h" 'refines class A : public B1 {
};
'
module "$DIR/L2/A.h" 'refines class A : public B2, public B1 {
};
'
printf 'L0\nL1\nL2\n' >"$DIR/p.equation"
module "$DIR/main.cpp" '#include "A.h"
#include <iostream>
int main()
{
    A x;
    std::cout << x.a() + x.b1() + x.b2() << "\n";
    return 0;
}
'
compose
has "$DIR/out/A.h" 'class A : public B1, public B2'
count "$DIR/out/A.h" 'public B1' 1
runs '111'

# --- A layer switched on at run time: guards and the feature list. ---
CASE=ifconfig
DIR=$WORK/ifconfig
module "$DIR/LibDynConditionalConfig/DynamicFeatureConfig.h" '#include <map>
#include <string>

class DynamicFeatureConfig {
public:
    enum Feature {
        // <ADD_FEATURES />
        feature_count
    };
    DynamicFeatureConfig()
    {
        // <ADD_FEATURE_MAPPING />
    }
    std::map<int, std::string> m_FeatureNames;
};
'
module "$DIR/LibDynConditionalConfig/Config.h" '#include <set>

class Config {
public:
    static Config& GetInstance()
    {
        static Config config;
        return config;
    }
    bool IsFeatureActive(int feature) const { return m_Active.count(feature) != 0; }
    void Activate(int feature) { m_Active.insert(feature); }
    DynamicFeatureConfig m_Features;

private:
    std::set<int> m_Active;
};
'
module "$DIR/Base/Stack.h" '#include <vector>

class Stack {
public:
    Stack() {}
    ~Stack()
    {
        m_items.clear();
    }
    int top() { return m_items.back(); }
    void push(int a, int b)
    {
        m_items.push_back(a + b);
    }
private:
    std::vector<int> m_items;
};
'
module "$DIR/Log/Stack.h" '#include <iostream>

refines class Stack {
public:
    Stack() { std::cout << "logging stack\n"; }
    int top() { return super::top(); }
    void push(int a, int b)
    {
        std::cout << "push " << a << "+" << b << "\n";
        super::push(a, b);
    }
    void clear()
    {
        std::cout << "clear\n";
    }
    ~Stack()
    {
        std::cout << "bye\n";
    }
};
'
module "$DIR/Log/Audit.h" '#include <iostream>

class Audit {
public:
    ~Audit()
    {
        std::cout << "audited\n";
    }
};
'
printf 'LibDynConditionalConfig\nBase\nLog Logging\n' >"$DIR/p.equation"
module "$DIR/main.cpp" '#include "Stack.h"
#include "Config.h"
#include "Audit.h"
#include <iostream>
int main()
{
    {
        Audit unseen;
    }
    Stack quiet;
    quiet.push(1, 2);
    try {
        quiet.clear();
    } catch (const char* e) {
        std::cout << e << "\n";
    }
    Config::GetInstance().Activate(DynamicFeatureConfig::feature_Logging);
    Stack loud;
    loud.push(3, 4);
    loud.clear();
    std::cout << quiet.top() + loud.top() << " "
              << Config::GetInstance().m_Features.m_FeatureNames[DynamicFeatureConfig::feature_Logging] << "\n";
    return 0;
}
'
compose
has "$DIR/out/Stack.h" '#include "Config.h"'
has "$DIR/out/Stack.h" 'int top() {
	    if (! (Config::GetInstance().IsFeatureActive(DynamicFeatureConfig::feature_Logging)) ) { return Base_top();  } ; return Base_top(); }'
has "$DIR/out/Stack.h" '	    if (! (Config::GetInstance().IsFeatureActive(DynamicFeatureConfig::feature_Logging)) ) { return Base_push(a,b);  } ;'
has "$DIR/out/Stack.h" '	    if (! (Config::GetInstance().IsFeatureActive(DynamicFeatureConfig::feature_Logging)) ) { Base_Stack(); return; } ;'
has "$DIR/out/Stack.h" '	    if (! (Config::GetInstance().IsFeatureActive(DynamicFeatureConfig::feature_Logging)) ) throw (const char*)"missing method implementation: clear";'
has "$DIR/out/Stack.h" '	    if (! (Config::GetInstance().IsFeatureActive(DynamicFeatureConfig::feature_Logging)) ) { Base_dtor_Stack(); return; } ;'
has "$DIR/out/Audit.h" '	    if (! (Config::GetInstance().IsFeatureActive(DynamicFeatureConfig::feature_Logging)) ) { return; } ;'
has "$DIR/out/DynamicFeatureConfig.h" '// <ADD_FEATURES />
feature_Logging,
'
has "$DIR/out/DynamicFeatureConfig.h" '// <ADD_FEATURE_MAPPING />
m_FeatureNames[feature_Logging]="Logging";'
runs 'missing method implementation: clear
logging stack
push 3+4
clear
10 Logging
bye
bye'

# --- Unnamed parameters cannot be passed on to the refined version. ---
CASE=unnamed
DIR=$WORK/unnamed
module "$DIR/L0/P.h" '#include <iostream>

class P {
public:
    P(int) { std::cout << "L0\n"; }
};
'
module "$DIR/L1/P.h" 'refines class P {
public:
    P(int) { std::cout << "L1\n"; }
};
'
printf 'L0\nL1\n' >"$DIR/p.equation"
module "$DIR/main.cpp" '#include "P.h"
int main()
{
    P p(1);
    return 0;
}
'
compose
said "L1/P.h(3) : warning: unnamed parameter in P: the refined version is not called"
lacks "$DIR/out/P.h" 'L0_P();'
runs 'L1'

# --- <SplType> in a body names the product-line interface. ---
CASE=metavar
DIR=$WORK/metavar
module "$DIR/L0/p.h" 'class p {
public:
    int id() const { return 7; }
};
'
module "$DIR/L0/User.h" 'class User {
public:
    int f()
    {
        <SplType> line;
        int SplType = 1;
        return line.id() + SplType;
    }
};
'
printf 'L0\n' >"$DIR/p.equation"
module "$DIR/main.cpp" '#include "p.h"
#include "User.h"
#include <iostream>
int main()
{
    User u;
    std::cout << u.f() << "\n";
    return 0;
}
'
compose
has "$DIR/out/User.h" '        p line;'
has "$DIR/out/User.h" 'int SplType = 1;'
runs '8'

# --- Java-like modules: a refined method is renamed; super stays where
# Java needs it. ---
CASE=java
DIR=$WORK/java
module "$DIR/L0/B.jak" 'class B {
    public int f(int x) { return x; }
}
'
module "$DIR/L0/A.jak" 'class A extends B {
    public int f(int x) { return super.f(x) + 1; }
    public int g() { return 1; }
}
'
module "$DIR/L1/A.jak" 'refines class A {
    public int g() { return super.g() * 2; }
}
'
printf 'L0\nL1\n' >"$DIR/p.equation"
compose
has "$DIR/out/A.java" 'public int f(int x) { return super.f(x) + 1; }'
has "$DIR/out/A.java" 'public int L0_g() { return 1; }'
has "$DIR/out/A.java" 'public int g() { return L0_g() * 2; }'
lacks "$DIR/console" 'warning'
if command -v javac >/dev/null && command -v java >/dev/null; then
    module "$DIR/out/Main.java" 'public class Main {
    public static void main(String[] args) {
        A a = new A();
        System.out.println(a.f(1) + " " + a.g());
    }
}
'
    if (cd "$DIR/out" && javac -Werror A.java B.java Main.java 2>"$DIR/javac"); then
        got=$(cd "$DIR/out" && java Main)
        if [ "$got" = "2 2" ]; then ok; else fail "java program printed: $got"; fi
    else
        fail "the composed Java sources do not compile:"
        cat "$DIR/javac"
    fi
fi

echo "compose: $PASSES passed, $FAILS failed"
[ "$FAILS" = 0 ]
