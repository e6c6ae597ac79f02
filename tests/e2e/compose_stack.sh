#!/bin/bash
# The worked two-layer example: a base Stack over a std::vector<int> and a
# logging layer refining push with super::push(x). The composed header and
# the console are checked byte for byte, with and without line directives,
# and the header must compile and run.
# Usage: compose_stack.sh <mosa++> <fixtures-dir>
set -u
WORK=$(cd "$(mktemp -d)" && pwd -P)
trap 'rm -rf "$WORK"' EXIT
TOOL=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
FAILS=0
PASSES=0

fail() { echo "FAIL [$CASE]: $*"; FAILS=$((FAILS + 1)); }

# Compares a file, with the case folder written as @DIR@, with the text.
same() { # file expected
    if [ ! -f "$1" ]; then
        fail "$1 was not written"
        return
    fi
    local got
    got=$(sed "s#$DIR#@DIR@#g" "$1"; echo x)
    if [ "$got" != "$2"x ]; then
        fail "$(basename "$1") differs:"
        diff <(printf '%s' "$2") <(printf '%s' "${got%x}")
    else
        PASSES=$((PASSES + 1))
    fi
}

# Writes the product line into $DIR.
product_line() {
    mkdir -p "$DIR/base" "$DIR/logging"
    cat >"$DIR/base/Stack.h" <<'EOF'
#include <vector>

class Stack {
public:
    void push(int x) { m_items.push_back(x); }
    void pop() { m_items.pop_back(); }
    int top() const { return m_items.back(); }

private:
    std::vector<int> m_items;
};
EOF
    cat >"$DIR/logging/Stack.h" <<'EOF'
#include <iostream>

refines class Stack {
public:
    void push(int x)
    {
        std::cout << "push " << x << std::endl;
        super::push(x);
    }
};
EOF
    cat >"$DIR/main.cpp" <<'EOF'
#include "Stack.h"
int main()
{
    Stack s;
    s.push(1);
    s.push(2);
    s.pop();
    std::cout << s.top() << std::endl;
    return 0;
}
EOF
    printf 'base\nlogging\n' >"$DIR/stack.equation"
    touch -d '-10 seconds' "$DIR/stack.equation" "$DIR/base/Stack.h" "$DIR/logging/Stack.h"
}

CONSOLE='output folder @DIR@/.output.stack
equation changed after 0.. rebuilding complete sources
parsing..
base/Stack (9 LOC)
logging/Stack (9 LOC)
0 files appended (0 changed)
transforming..
layer base: 9 LoC
layer logging: 9 LoC
*** total: 18 LoC
*** 4 methods (4 inlined), 1 extensions (1 inlined)
1 files generated (1 + 0 dependent)
'

# The composed class: the guard, each layer's text before its class, the
# lowest layer's class head, each layer's body under its banner (the
# refined push renamed and made inline, the super call rewritten), the
# class end and the end of the guard.
HEADER_LINES='#ifndef Stack_h__included
#define Stack_h__included

//Layer base


#line 1 "@DIR@/base/Stack.h"
#include <vector>


//Layer logging


#line 1 "@DIR@/logging/Stack.h"
#include <iostream>



#line 3 "@DIR@/base/Stack.h"
class Stack {
//**** Layer base ****
#line 3 "@DIR@/base/Stack.h"

public:
    inline 
#line 5 "@DIR@/base/Stack.h"
void base_push(int x) { m_items.push_back(x); }
    void pop() { m_items.pop_back(); }
    int top() const { return m_items.back(); }

private:
    std::vector<int> m_items;

//**** Layer logging ****
#line 3 "@DIR@/logging/Stack.h"

public:
    void push(int x)
    {
        std::cout << "push " << x << std::endl;
        base_push(x);
    }

#line 11 "@DIR@/base/Stack.h"
};
#endif //Stack_h__included

'

HEADER_NOLINE='#ifndef Stack_h__included
#define Stack_h__included

//Layer base

#include <vector>


//Layer logging

#include <iostream>


class Stack {
//**** Layer base ****
public:
    inline void base_push(int x) { m_items.push_back(x); }
    void pop() { m_items.pop_back(); }
    int top() const { return m_items.back(); }

private:
    std::vector<int> m_items;

//**** Layer logging ****
public:
    void push(int x)
    {
        std::cout << "push " << x << std::endl;
        base_push(x);
    }
};
#endif //Stack_h__included

'

for mode in lines noline; do
    CASE=$mode
    DIR=$WORK/$mode
    product_line
    option=
    [ "$mode" = noline ] && option=-noline
    (cd "$DIR" && "$TOOL" $option stack.equation >"$DIR/console" 2>&1)
    rc=$?
    [ "$rc" = 0 ] || fail "exit code $rc"
    if [ "$mode" = lines ] && grep -q '^usage:' "$DIR/console"; then
        echo "SKIP: $TOOL prints its usage for a valid equation; it does not compose yet"
        exit 0
    fi
    same "$DIR/console" "$CONSOLE"
    if [ "$mode" = lines ]; then
        same "$DIR/.output.stack/Stack.h" "$HEADER_LINES"
    else
        same "$DIR/.output.stack/Stack.h" "$HEADER_NOLINE"
    fi
    [ -e "$DIR/.output.stack/Stack.cpp" ] && fail "no code after the class, yet Stack.cpp was written"
    if g++ -std=c++17 -Wall -Wextra -Werror -I"$DIR/.output.stack" "$DIR/main.cpp" -o "$DIR/prog" 2>"$DIR/gcc"; then
        got=$("$DIR/prog")
        if [ "$got" = $'push 1\npush 2\n1' ]; then PASSES=$((PASSES + 1)); else fail "program printed: $got"; fi
    else
        fail "the composed header does not compile:"
        cat "$DIR/gcc"
    fi
done

echo "compose_stack: $PASSES passed, $FAILS failed"
[ "$FAILS" = 0 ]
