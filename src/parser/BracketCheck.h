// Checks, before a file is parsed, that every construct that opens also
// closes: block comments, string and character literals (raw strings
// included), and the brackets `{}`, `()` and `[]`, which must nest. The
// parser reads a file whose braces do not balance into a wrong structure
// (a layer's methods vanish into a body or land outside their class), so
// such a file is refused with an error at the line where the construct
// opens and, for one cut off by the end of the file, where the file ends.
#pragma once

namespace Lex {
class Token;
}

class BracketCheck {
public:
    // Walks the tokens from first as the parser reads them (tokens of later
    // conditional branches that the parser passes over, and directive lines,
    // left out); a file that nests only when each conditional takes its first
    // branch passes as well. Reports every fault found and returns false
    // when there is one.
    static bool Check(Lex::Token* first);

private:
    // Unclosed comments and literals; false after reporting them.
    static bool CheckLiterals(Lex::Token* first);
    // Bracket nesting; with firstBranchesOnly, the tokens of `#elif` and
    // `#else` branches are left out. With report, the first fault is
    // reported. False when the brackets do not nest.
    static bool CheckNesting(Lex::Token* first, bool firstBranchesOnly, bool report);
};
