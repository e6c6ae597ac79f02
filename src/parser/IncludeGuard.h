// The include guard that wraps a whole scanned file: "#ifndef X" (or
// "#if !defined(X)", "#if !defined X") and "#define X" at its start, and the
// "#endif" of that block as its last directive with nothing after it.
#pragma once

namespace Lex {
class Token;
}

class IncludeGuard {
public:
    // Unlinks the guard's three directive lines from the tokens that start
    // with first, when they have one; their line breaks stay, so that the
    // lines keep their numbers. The unlinked tokens stay alive.
    static void Remove(Lex::Token* first);
};
