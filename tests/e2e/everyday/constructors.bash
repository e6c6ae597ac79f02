# Constructor and destructor chains.

# Each layer's constructor body sees the values the caller passed, also when
# a lower layer's initializers move them away.
row_ctor_moved() {
    module base/Account.h <<'EOF2'
#include <iostream>
#include <string>
#include <utility>

class Account {
public:
    Account(std::string id) : m_id(std::move(id)) {}
    std::string m_id;
};
EOF2
    module ext/Account.h <<'EOF2'
refines class Account {
public:
    Account(std::string id) { std::cout << "ext " << id << "\n"; }
};
EOF2
    program ctor_moved 'ext A-1
A-1' <<'EOF2'
#include "Account.h"
int main()
{
    Account a("A-1");
    std::cout << a.m_id << "\n";
    return 0;
}
EOF2
}
