// Follows the preprocessor conditionals of a token list token by token:
// whether a token lies in a branch after the first (`#elif`, `#else`) of an
// enclosing conditional, and whether it belongs to a directive line.
#pragma once

#include "scanner/Token.h"

#include <vector>

class ConditionalBranches {
public:
    // Takes the next token of the list.
    void Step(Lex::Token const& t);
    // The token taken last lies in a later branch.
    bool InLaterBranch() const { return m_Later > 0; }
    // The token taken last belongs to a directive line (its line break too).
    bool InDirective() const { return m_bTokenInDirective; }

private:
    std::vector<bool> m_Open; // per open conditional: past its first branch
    int m_Later = 0;          // open conditionals past their first branch
    bool m_bDirective = false;
    bool m_bTokenInDirective = false;
};
