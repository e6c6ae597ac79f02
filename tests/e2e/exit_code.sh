#!/bin/bash
# The exit code tells whether a run reported an error: each row's product
# line gives its message exactly once, never a "fatal:" line, exit code 1
# when the message is an error and 0 when the run reported only warnings and
# infos; a run that goes on after the error still writes the class that has
# none.
# Usage: exit_code.sh <mosa++> <fixtures-dir>
set -u
source "$(dirname "$0")/lib/common.bash" "$1"

# Every product line: layer A introduces Stack and Plain, B is written by
# the row's fixture, the equation lists A and B.
base_line() {
    mkdir -p "$P/A" "$P/B"
    printf 'A\nB\n' >"$P/p.equation"
    printf 'class Stack {\npublic:\n    void push(int x) { m_n = x; }\n    bool operator==(Stack const& o) const { return m_n == o.m_n; }\n    int m_n;\n};\n' >"$P/A/Stack.h"
    printf 'class Plain {\npublic:\n    int f() { return 1; }\n};\n' >"$P/A/Plain.h"
}

super_call() {
    printf 'refines class Stack {\npublic:\n    void push(int x) { super::pop(x); }\n};\n' >"$P/B/Stack.h"
}
operator_refined() {
    printf 'refines class Stack {\npublic:\n    bool operator==(Stack const& o) const { return super::operator==(o); }\n};\n' >"$P/B/Stack.h"
}
wrong_class_name() {
    printf 'class Pair {\n    int y;\n};\n' >"$P/B/Stack.h"
}
# (A class named like the module would make the others its helpers.)
two_classes() {
    printf 'class Extra {};\nclass Other {};\n' >"$P/B/Stack.h"
}
# A layer loaded at run time needs the interface template, which is gone
# from the tool's templates for this row.
missing_template() {
    printf 'refines class Stack {\npublic:\n    void push(int x) { super::push(x); }\n};\n' >"$P/B/Stack.h"
    printf 'A\nB dynamicload\n' >"$P/p.equation"
    mv "$WORK/bin/codetemplates/general/DelegationInterface.templ.h" "$WORK/parked.templ.h"
}
# Two classes that hold each other: the change test of the second run meets
# the cycle.
recursive_dependency() {
    printf 'class M {\npublic:\n  N n;\n};\n' >"$P/B/M.h"
    printf 'class N {\npublic:\n  M m;\n};\n' >"$P/B/N.h"
    printf 'class K {\npublic:\n  M m;\n  N n;\n  int k();\n};\nint K::k() { return 1; }\n' >"$P/B/K.h"
    touch -d '-20 seconds' "$P/p.equation" "$P"/*/*
    (cd "$P" && "$TOOL" -o="$P/out" p >/dev/null 2>&1)
    touch -d '-10 seconds' "$P/out"/*
    touch -d '-5 seconds' "$P/B/K.h"
}
# The folder of a layer under MOSAC_HOME is looked up several times a run.
vrenk_env() {
    mkdir -p "$P/home/src"
    printf 'A\nvrenk/env/x\n' >"$P/p.equation"
    export MOSAC_HOME="$P/home"
}
link_loop() {
    ln -s loop2 "$P/A/loop1"
    ln -s loop1 "$P/A/loop2"
}
missing_mixin() {
    printf 'class Q :\n    mixin Missing {\n    int y;\n};\n' >"$P/B/Q.h"
}
# A class that no layer introduces: its lowest module refines it.
no_base() {
    printf 'refines class Solo {\npublic:\n    int f() { return 1; }\n};\n' >"$P/B/Solo.h"
}
# With -eq the layers of B's own equation file go below A and B: C's
# refinement of Stack becomes the class's lowest module.
layer_equation_below() {
    mkdir -p "$P/C"
    printf 'C\n' >"$P/B/sub.equation"
    printf 'refines class Stack {\npublic:\n    void push(int x) { super::push(x); }\n};\n' >"$P/C/Stack.h"
    OPTIONS=-eq
}
warnings_only() {
    printf 'A\nB\nC\n' >"$P/p.equation"
    printf 'refines class Stack {\n    int x;\n' >"$P/B/Stack.h"
}

# row name expected-rc message written-class fixture: exactly one line holds
# the message; unless the written class is "-", the run reaches its summary
# and the class is in the output. A fixture may set OPTIONS for the run.
row() {
    local name=$1 rc=$2 message=$3 written=$4 fixture=$5
    P="$WORK/$fixture"
    base_line
    OPTIONS=
    $fixture
    [ "$fixture" = recursive_dependency ] || find "$P" -type f -exec touch -d '-10 seconds' {} +
    (cd "$P" && timeout 300 "$TOOL" $OPTIONS -o="$P/out" p >"$WORK/console" 2>&1)
    RC=$?
    OUT=$(cat "$WORK/console")
    unset MOSAC_HOME
    [ -f "$WORK/parked.templ.h" ] && mv "$WORK/parked.templ.h" "$WORK/bin/codetemplates/general/DelegationInterface.templ.h"
    expect_rc "$name" "$rc"
    local seen
    seen=$(grep -cF -- "$message" <<<"$OUT")
    [ "$seen" = 1 ] || fail "$name: '$message' shown $seen times in:
$OUT"
    lacks "$name" "fatal:"
    [ "$written" = - ] && return
    grep -qE '^[0-9]+ files generated' <<<"$OUT" || fail "$name: the run did not reach its summary"
    [ -f "$P/out/$written" ] || fail "$name: $written was not written"
}

row "invalid super call" 1 "$WORK/super_call/B/Stack.h(3) : error: invalid call to super::pop" Plain.h super_call
row "refined operator" 1 "$WORK/operator_refined/A/Stack.h(4) : error: cannot refine operator function operator ==" \
    Plain.h operator_refined
row "class name" 1 "$WORK/wrong_class_name/B/Stack.h(1) : error: class-name 'Pair' does not match module name 'Stack'" \
    Plain.h wrong_class_name
# The classes are listed in no fixed order.
row "two classes" 1 "classes, but only one class allowed; using class Extra" Plain.h two_classes
row "missing template" 1 \
    "mosa++ : error: template file 'DelegationInterface' not found in folder $WORK/bin/codetemplates" \
    Plain.h missing_template
row "recursive dependency" 1 " : error: there is a recursive dependency" K.h recursive_dependency
row "vrenk/env" 1 "mosa++ : error: 'env' should not follow 'vrenk' in vrenk/env/x" Plain.h vrenk_env
row "link loop" 1 "error: SysCall::stat(): $WORK/link_loop/A/loop1: Too many levels of symbolic links" \
    Plain.h link_loop
row "missing mixin" 1 "$WORK/missing_mixin/B/Q.h(2) : error: mixin class Missing not found" - missing_mixin
row "no base" 1 \
    "$WORK/no_base/B/Solo.h(1) : error: class Solo is not composed: its lowest module B/Solo.h refines it, and no layer below introduces it" \
    Plain.h no_base
row "layer equation below" 1 \
    "$WORK/layer_equation_below/C/Stack.h(1) : error: class Stack is not composed: its lowest module C/Stack.h refines it" \
    Plain.h layer_equation_below
[ -f "$WORK/layer_equation_below/out/Stack.h" ] && fail "layer equation below: Stack.h was written"
row "warnings only" 0 "mosa++ : warning: folder $WORK/warnings_only/C for feature C does not exist" \
    Plain.h warnings_only
# The parser's warning ends the line of its module's progress.
grep -qF "$WORK/warnings_only/B/Stack.h(3) : warning: unexpected end of file" <<<"$OUT" \
    || fail "warnings only: no parser warning in: $OUT"

[ "$FAILS" = 0 ] || { echo "$FAILS failure(s)"; exit 1; }
echo "all exit code checks passed"
