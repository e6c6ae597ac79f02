#!/bin/bash
# Java-like and aspect modules compose into sources their compilers take:
# a three-layer .jak product line (and the same as .java modules) is
# compiled with javac and run; a .cs line with mcs and mono where they are
# installed; an .ah refinement with g++. Constructors refined twice keep
# `super(..)` first and assign final fields, package-private methods are
# refined, `throw` stays `throw`, a `package` line written in every layer
# is written once and `super.g()` of Java's own base class stays as it is.
# Usage: java_like.sh <mosa++> <fixtures-dir>
set -u
source "$(dirname "$0")/lib/common.bash" "$1"

# Writes the module $1 (below $PL) from stdin.
module() { mkdir -p "$(dirname "$PL/$1")" && cat >"$PL/$1"; }

# --- The .jak product line: base, ext and top refine Account. ---
PL=$WORK/jak
mkdir -p "$PL" && printf 'base\next\ntop\n' >"$PL/bank.equation"
module base/Entity.jak <<'EOF'
package bank;

// A base class without a constructor that takes no arguments.
class Entity {
    final int key;
    Entity(int key) { this.key = key; }
    String kind() { return "entity"; }
}
EOF
module base/Account.jak <<'EOF'
package bank;

import java.util.ArrayList;

class Account extends Entity {
    final int id;
    final String owner;
    int balance;
    ArrayList<String> log = new ArrayList<String>();

    public Account(int id, String owner) {
        super(id * 100);
        this.id = id;
        this.owner = owner;
        log.add("base " + owner);
    }
    void deposit(int x) {
        if (x < 0) throw new IllegalArgumentException("negative " + x);
        balance += x;
    }
    int fee() { return 1; }
    String describe() { return owner + ":" + balance; }
    static int version() { return 1; }
    void check() throws Exception { if (balance > 1000) throw new Exception("too much"); }
}
EOF
module ext/Account.jak <<'EOF'
package bank;

import java.util.List;

refines class Account {
    final String tag;
    Account(int number, String who) {
        tag = "T" + number;
        log.add("ext " + who);
    }
    void deposit(int x) { super.deposit(x); balance -= fee(); }
    int fee() { return super.fee() + 1; }
    List<String> entries() { return log; }
}
EOF
module top/Account.jak <<'EOF'
package bank;

refines class Account {
    Account(int id, String owner) { log.add("top " + id); }
    void deposit(int x) { super.deposit(x); log.add("dep " + x); }
    String describe() { return super.describe() + "/" + super.kind() + "/" + key + "/" + tag; }
    static int version() { return super.version() + 1; }
}
EOF
# Initializer blocks run their statements: a call in one is no method of
# the class, and calls the method as the top layer makes it.
module base/Rates.jak <<'EOF'
package bank;

class Rates {
    static int[] table;
    static {
        table = make(3);
    }
    int used;
    { count(); }
    void count() { used++; }
    static int[] make(int n) { return new int[n]; }
}
EOF
module ext/Rates.jak <<'EOF'
package bank;

refines class Rates {
    static int size;
    static { size = table.length; }
    static int[] make(int n) { int[] t = super.make(n); t[0] = 10; return t; }
    void count() { super.count(); used += 10; }
}
EOF
module base/Main.jak <<'EOF'
layer base;
package bank;

public class Main {
    public static void main(String[] args) throws Exception {
        Account a = new Account(7, "ann");
        a.deposit(10);
        System.out.println(a.describe() + " " + a.entries() + " v" + Account.version());
        System.out.println("rates " + Rates.table[0] + " " + Rates.size + " " + new Rates().used);
        try { a.deposit(-1); } catch (IllegalArgumentException e) { System.out.println("refused " + e.getMessage()); }
        a.check();
    }
}
EOF
# The .java line: the same modules under the other extension.
cp -r "$PL" "$WORK/java"
for f in "$WORK"/java/*/*.jak; do mv "$f" "${f%.jak}.java"; done
find "$WORK" -type f -exec touch -d '-10 minutes' {} +

EXPECTED='ann:8/entity/700/T7 [base ann, ext ann, top 7, dep 10] v2
rates 10 3 11
refused negative -1'

if command -v javac >/dev/null && command -v java >/dev/null; then
    for kind in jak java; do
        run_in "$WORK/$kind" -o="$WORK/$kind/out" bank.equation
        expect_rc "$kind: compose" 0
        lacks "$kind: no message" "error"
        lacks "$kind: no message" "warning"
        out=$WORK/$kind/out
        [ "$(grep -c '^package bank;' "$out/Account.java")" = 1 ] || fail "$kind: the package line is not written once"
        grep -q 'throw new IllegalArgumentException' "$out/Account.java" || fail "$kind: throw is not written as throw"
        if javac -d "$out/classes" "$out"/*.java 2>"$WORK/javac"; then
            got=$(java -cp "$out/classes" bank.Main 2>&1)
            [ "$got" = "$EXPECTED" ] || { fail "$kind: the program prints"; diff <(echo "$EXPECTED") <(echo "$got"); }
        else
            fail "$kind: javac refuses the composed sources"
            head -20 "$WORK/javac"
        fi
    done
else
    echo "SKIP: javac and java are not installed; the Java product lines are composed but not compiled"
    run_in "$WORK/jak" -o="$WORK/jak/out" bank.equation
    expect_rc "jak: compose" 0
fi

# --- What cannot be composed is an error on the line that causes it. ---
PL=$WORK/bad
cp -r "$WORK/jak" "$PL" && rm -rf "$PL/out"
sed -i 's/^package bank;/package bank.other;/' "$PL/ext/Account.jak"
# `tag` and `id` in ext's constructor are fields, but parameter names of top's.
sed -i 's/Account(int id, String owner) { log.add/Account(int id, String tag) { super(1); log.add/' "$PL/top/Account.jak"
sed -i 's/log.add("ext " + who);/log.add("ext " + who + id);/' "$PL/ext/Account.jak"
find "$PL" -type f -exec touch -d '-10 minutes' {} +
run_in "$PL" -o="$PL/out" bank.equation
expect_rc "errors" 1
contains "package" "$PL/ext/Account.jak(1) : error: this module declares package bank.other, but $PL/base/Account.jak declares package bank: the modules of a class must be in one package"
for name in "tag:8" "id:9"; do
    contains "hidden name ${name%:*}" "$PL/ext/Account.jak(${name#*:}) : error: this constructor's body runs inside the constructor that refines it ($PL/top/Account.jak:4), where ${name%:*} names a parameter: give that parameter another name"
done
contains "two super calls" "$PL/top/Account.jak(4) : error: this constructor and the one it refines both call super(..) or this(..), there at $PL/base/Account.jak:12: only one layer may call it"

# --- A .cs line: readonly fields, a `: base(..)` initializer, `layer` lines. ---
PL=$WORK/cs
mkdir -p "$PL"
module base/Entity.cs <<'EOF'
layer base;

class Entity {
    public readonly int key;
    public Entity(int key) { this.key = key; }
}
EOF
module base/Account.cs <<'EOF'
layer base;
using System;
using System.Collections.Generic;

class Account : Entity {
    public readonly int id;
    public List<string> log = new List<string>();
    public int balance;
    public Account(int id) : base(id * 100) { this.id = id; log.Add("base"); }
    public void Deposit(int x) {
        if (x < 0) throw new ArgumentException("negative");
        balance += x;
    }
    public static void Main() {
        Account a = new Account(7);
        a.Deposit(10);
        Console.WriteLine(a.id + " " + a.key + " " + a.balance + " " + string.Join(",", a.log));
        try { a.Deposit(-1); } catch (ArgumentException e) { Console.WriteLine("refused " + e.Message); }
    }
}
EOF
module ext/Account.cs <<'EOF'
layer ext;

refines class Account {
    public Account(int n) { log.Add("ext " + n); }
    public void Deposit(int x) { super.Deposit(x); balance -= 1; }
}
EOF
printf 'base\next\n' >"$PL/bank.equation"
find "$PL" -type f -exec touch -d '-10 minutes' {} +
run_in "$PL" -o="$PL/out" bank.equation
expect_rc "cs: compose" 0
grep -q '^//layer ext;' "$PL/out/Account.cs" || fail "cs: the layer line is not commented out"
if command -v mcs >/dev/null && command -v mono >/dev/null; then
    if mcs -out:"$PL/a.exe" "$PL"/out/*.cs >"$WORK/mcs" 2>&1; then
        got=$(mono "$PL/a.exe" 2>&1)
        [ "$got" = "7 700 9 base,ext 7
refused negative" ] || fail "cs: the program prints: $got"
    else
        fail "cs: mcs refuses the composed sources"
        head -20 "$WORK/mcs"
    fi
else
    echo "SKIP: mcs and mono are not installed; the .cs product line is composed but not compiled"
fi

# --- An aspect module refines with super::f(..) and super.f(..) alike. ---
# `super::` in front of a qualified name names what the layers below give
# the class (here a nested type whose static f is no method of the class);
# a refined member template is called with its template arguments.
PL=$WORK/ah
module base/C.ah <<'EOF'
class C {
public:
    struct N { static int f() { return 100; } };
    int f(int x) { return x + 1; }
    int g() { return 10; }
    template <class T> int h() { return int(sizeof(T)); }
};
EOF
module ext/C.ah <<'EOF'
refines class C {
public:
    int f(int x) { return super::f(x) * 2; }
    int g() { return super.g() + 1 + super::N::f(); }
    template <class T> int h() { return super::h<T>() * 10; }
};
EOF
printf 'base\next\n' >"$PL/p.equation"
printf '#include "C.ah"\n#include <cstdio>\nint main() { C c; std::printf("%%d %%d %%d\\n", c.f(1), c.g(), c.h<char>()); }\n' >"$PL/main.cpp"
find "$PL" -type f -exec touch -d '-10 minutes' {} +
run_in "$PL" -o="$PL/out" p.equation
expect_rc "ah: compose" 0
if g++ -std=c++17 -Wall -Wextra -Werror -I"$PL/out" "$PL/main.cpp" -o "$PL/prog" 2>"$WORK/gxx"; then
    [ "$("$PL/prog")" = "4 111 10" ] || fail "ah: the program prints $("$PL/prog")"
else
    fail "ah: g++ refuses the composed aspect"
    head -20 "$WORK/gxx"
fi

[ "$FAILS" = 0 ] || { echo "$FAILS failure(s)"; exit 1; }
echo "all Java-like and aspect rows passed"
