# The worked example of the README's "Writing a module" section.

row_readme() {
    module base/Account.h <<'EOF2'
#include <iostream>
#include <string>

class Account {
public:
    Account(std::string id, int balance = 0) : m_id(id), m_balance(balance) {}
    virtual ~Account() {}
    virtual void deposit(int amount) { m_balance += amount; }
    std::string m_id;
    int m_balance;
};
EOF2
    module base/Printable.h <<'EOF2'
#include <iostream>

class Printable {
public:
    void print() const { std::cout << describe() << "\n"; }
};
EOF2
    module ext/Account.h <<'EOF2'
#include <string>

refines class Account : mixin Printable {
public:
    Account(std::string name, int start) { std::cout << "opened " << name << " with " << start << "\n"; }
    void deposit(int amount) { super::deposit(amount); std::cout << "deposited " << amount << "\n"; }
    std::string describe() const { return m_id + ": " + std::to_string(m_balance); }
};
EOF2
    module base/Box.h <<'EOF2'
template <class T>
class Box {
public:
    T get() const { return m_v; }
    T m_v{};
};
EOF2
    module ext/Box.h <<'EOF2'
template <class T>
refines class Box {
public:
    T get() const { return super::get() + 1; }
};
EOF2
    program readme 'opened A-1 with 0
deposited 5
A-1: 5
1' <<'EOF2'
#include "Account.h"
#include "Box.h"

int main()
{
    Account a("A-1");
    a.deposit(5);
    a.print();
    std::cout << Box<int>().get() << "\n";
    return 0;
}
EOF2
}
