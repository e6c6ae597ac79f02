# How a module file is laid out: include guards, code after the class,
# helper types beside the class, a byte-order mark.

# Every module wrapped in an include guard of its own (three spellings); the
# composed header has the tool's guard only and may be included twice.
row_guarded() {
    module base/Counter.h <<'EOF2'
// A counter.
#ifndef COUNTER_H
#define COUNTER_H

#include <iostream>

class Counter {
public:
    int n = 0;
    void inc() { ++n; }
};

#endif // COUNTER_H
EOF2
    module ext/Counter.h <<'EOF2'
#if !defined(EXT_COUNTER_H)
#define EXT_COUNTER_H 1
/* counts twice */
refines class Counter {
public:
    void inc() { super::inc(); ++n; }
};
#endif /* EXT_COUNTER_H */

EOF2
    module top/Counter.h <<'EOF2'
#pragma once
refines class Counter {
public:
    void inc() { super::inc(); std::cout << "inc " << n << "\n"; }
};
EOF2
    program guarded 'inc 2
inc 4' <<'EOF2'
#include "Counter.h"
#include "Counter.h"
int main()
{
    Counter c;
    c.inc();
    c.inc();
    return 0;
}
EOF2
}
check_guarded() {
    if grep -q 'COUNTER_H' "$1/Counter.h" || [ "$(grep -c '^#endif' "$1/Counter.h")" != 1 ] ||
        [ -e "$1/Counter.cpp" ]; then
        echo "a module's guard is left in the output:"
        cat "$1/Counter.h"
        return 1
    fi
    # The frame: one blank line after the layer line, one after the end.
    if [ "$(grep -A3 '^//Layer base$' "$1/Counter.h" | tr '\n' '|')" != '//Layer base||// A counter.||' ] ||
        [ "$(tail -c 2 "$1/Counter.h" | od -An -c | tr -d ' ')" != '\n\n' ]; then
        echo "the frame of the header differs:"
        cat -A "$1/Counter.h"
        return 1
    fi
}

# Code after the class: what every file must see stays in the header (with
# the declarations of what moves), what is defined once goes to the
# implementation file. The program is a second translation unit.
row_after_class() {
    module base/Money.h <<'EOF2'
#ifndef MONEY_H
#define MONEY_H
#include <iostream>
#include <string>

namespace bank {

class Money {
public:
    explicit Money(long c) : cents(c) { ++created; }
    long cents;
    long value() const;
    static int created;
};

inline std::ostream& operator<<(std::ostream& o, Money const& m)
{
    return o << m.value() / 100 << "." << m.value() % 100;
}
template <class T> T twice(T t) { return t + t; }
template <> inline Money twice<Money>(Money m) { return Money(m.cents * 2); }
template <> int twice<int>(int t);
constexpr long kCentsPerUnit = 100;
constexpr long square(long x) { return x * x; }
inline int inlineCount = 1;
extern int externCount;
struct Rounding {
    long step;
};

int Money::created = 0;
long Money::value() const { return cents; }
int externCount = 2;
std::string label = "EUR";
template <> int twice<int>(int t) { return t * 3; }
Money add(Money a, Money b, long extra = 0, std::string const& why = std::string("sum"))
{
    std::cout << why << " ";
    return Money(a.cents + b.cents + extra);
}
namespace detail {
inline long round(long c, Rounding r) { return c / r.step * r.step; }
long half(long c) { return c / 2; }
} // namespace detail

} // namespace bank
#endif
EOF2
    module ext/Money.h <<'EOF2'
namespace bank {
refines class Money {
public:
    long doubled() const { return cents * 2; }
};
}
EOF2
    program after_class '12.34 24.68 sum 12.35 fee 12.40
6 10000 2 1 EUR 617 12.30 2468 3' <<'EOF2'
#include "Money.h"
using namespace bank;
int main()
{
    Money m(1234);
    std::cout << m << " " << twice(m) << " " << add(m, Money(0), 1) << " " << add(m, Money(6), 0, "fee") << "\n";
    std::cout << twice(2) << " " << square(kCentsPerUnit) << " " << externCount << " " << inlineCount << " "
              << label << " " << detail::half(m.cents) << " " << Money(detail::round(m.cents, Rounding{10})) << " "
              << m.doubled() << " " << Money::created / 2 << "\n";
    return 0;
}
EOF2
}
check_after_class() {
    local h=$1/Money.h cpp=$1/Money.cpp
    if grep -q 'operator<<\|twice(T\|twice<Money>\|kCentsPerUnit\|inline int inlineCount\|struct Rounding' "$cpp" ||
        grep -q 'Money::created = 0\|value() const {\|= "EUR"\|t \* 3\|c / 2' "$h" ||
        ! grep -q 'extern std::string label;' "$h"; then
        echo "code after the class is in the wrong file:"
        cat "$h" "$cpp"
        return 1
    fi
}

# Helper types before and after the class named like the module stay where
# they are written; the refinement may use them.
row_helper_types() {
    module base/Ledger.h <<'EOF2'
#include <vector>

struct Rate {
    int percent;
    int add(int v) const { return v + v * percent / 100; }
};
enum class Kind { credit, debit };

class Ledger {
public:
    std::vector<int> entries;
    void add(int v) { entries.push_back(v); }
    int total() const
    {
        int t = 0;
        for (int v : entries)
            t += v;
        return t;
    }
};

struct Summary {
    int count;
    int total;
};
class Report {
public:
    static Summary of(Ledger const& l) { return Summary{int(l.entries.size()), l.total()}; }
};
EOF2
    module ext/Ledger.h <<'EOF2'
struct Fee {
    int cents;
};
refines class Ledger {
public:
    Kind kind = Kind::credit;
    void add(int v) { super::add(Rate{10}.add(v) + Fee{1}.cents); }
};
EOF2
    program helper_types '2 222' <<'EOF2'
#include "Ledger.h"
#include <iostream>
int main()
{
    Ledger l;
    l.add(100);
    l.add(100);
    Summary s = Report::of(l);
    std::cout << s.count << " " << s.total << "\n";
    return l.kind == Kind::credit ? 0 : 1;
}
EOF2
}

# Modules saved with a UTF-8 byte-order mark.
row_byte_order_mark() {
    module base/Badge.h <<'EOF2'
#include <string>
class Badge {
public:
    std::string text() const { return "badge"; }
};
EOF2
    module ext/Badge.h <<'EOF2'
refines class Badge {
public:
    std::string text() const { return "[" + super::text() + "]"; }
};
EOF2
    local f
    for f in base/Badge.h ext/Badge.h; do
        { printf '\357\273\277'; cat "$PL/$f"; } >"$PL/$f.new" && mv "$PL/$f.new" "$PL/$f"
    done
    program byte_order_mark '[badge]' <<'EOF2'
#include "Badge.h"
#include <iostream>
int main()
{
    std::cout << Badge().text() << "\n";
    return 0;
}
EOF2
}
check_byte_order_mark() {
    if grep -q $'\357\273\277' "$1/Badge.h"; then
        echo "the byte-order mark is in the composed header"
        return 1
    fi
}

# An equation file with a byte-order mark names its first layer all the same.
case_equation_byte_order_mark() {
    local dir=$WORK/bom
    mkdir -p "$dir/base"
    printf 'class Tag {\npublic:\n    int id() { return 7; }\n};\n' >"$dir/base/Tag.h"
    printf '\357\273\277base\n' >"$dir/p.equation"
    compose "$dir" p
    if [ "$RC" = 0 ] && quiet "$dir/console-p" && [ -f "$dir/out-p/Tag.h" ]; then
        pass
    else
        fail "exit code $RC:"$'\n'"$(cat "$dir/console-p")"
    fi
}

# A header with an implementation file beside it is appended, not composed:
# a refinement of its class is an error that tells why it finds no base.
case_refined_header_with_cpp() {
    local dir=$WORK/appended
    mkdir -p "$dir/base" "$dir/ext"
    printf 'class Account {\npublic:\n    int f();\n};\n' >"$dir/base/Account.h"
    printf '#include "Account.h"\nint Account::f() { return 1; }\n' >"$dir/base/Account.cpp"
    printf 'refines class Account {\npublic:\n    int f() { return super::f(); }\n};\n' >"$dir/ext/Account.h"
    printf 'base\next\n' >"$dir/p.equation"
    compose "$dir" p
    if [ "$RC" = 1 ] && grep -q 'ext/Account.h(1) : error: class Account is not composed.*: base/Account.h is not a module because base/Account.cpp is beside it' \
        "$dir/console-p"; then
        pass
    else
        fail "exit code $RC, no reason given:"$'\n'"$(cat "$dir/console-p")"
    fi
}

# Code after the class that cannot be declared in the header is an error
# with the file and line and what to write instead.
case_deduced_variable_after_class() {
    local dir=$WORK/deduced
    mkdir -p "$dir/base"
    printf 'class Clock {\npublic:\n    int t = 0;\n};\n\nauto tick = [](Clock& c) { return ++c.t; };\n' \
        >"$dir/base/Clock.h"
    printf 'base\n' >"$dir/p.equation"
    compose "$dir" p
    if grep -q "base/Clock.h(6).*error.*inline" "$dir/console-p"; then
        pass
    else
        fail "no error:"$'\n'"$(cat "$dir/console-p")"
    fi
}

# Code switched off with `#if 0` is no code: a brace or a stray apostrophe
# in it changes nothing, nested conditionals go with it, and the `#else`
# branch after it is the one the class has.
row_if_zero() {
    module base/Switch.h <<'EOF2'
#include <iostream>

class Switch {
public:
#if 0
    // don't use this any more: it isn't balanced
    int old() {
#if 1
    }
#endif
#else
    int value() { return 1; }
#endif
};
EOF2
    module ext/Switch.h <<'EOF2'
refines class Switch {
public:
#if 0
    int value() { return super::value() + 100; } }
#elif 1
    int value() { return super::value() + 10; }
#else
    int value() { return 0; { }
#endif
};
EOF2
    program if_zero '11' <<'EOF2'
#include "Switch.h"
int main()
{
    Switch s;
    std::cout << s.value() << "\n";
    return 0;
}
EOF2
}
