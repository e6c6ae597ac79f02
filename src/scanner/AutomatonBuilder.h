// Builds a TableRecognizer from token rules written as patterns:
//   x        the byte x          \n \t \r \f \v \0 \xHH   escaped bytes
//   \x       any other escaped byte stands for itself (\. \\ \( ...)
//   .        any byte            [a-z_] [^"\\]            byte sets
//   (r)      grouping            r|s   alternatives        r? r* r+
// The automaton reports the longest match; of rules matching the same
// length, the one added first wins.
#pragma once

#include "scanner/StateGraph.h"

#include <string>
#include <vector>

namespace Lex {

class AutomatonBuilder {
public:
    // With map_expressions, each distinct type gets an expression number and
    // the automaton an expression map; otherwise expressions are the types.
    explicit AutomatonBuilder(bool map_expressions = true) : mapped(map_expressions) {}

    // Input matching pattern is a token of the given type.
    AutomatonBuilder& rule(std::string const& pattern, int type);
    // The exact text word is a token of the given type.
    AutomatonBuilder& word(std::string const& text, int type);

    TableRecognizer build() const;

    // The byte set of a pattern made of one set, such as "[^*\n]".
    static ByteSet byte_set(std::string const& pattern);

private:
    struct NfaState {
        ByteSet bytes;          // bytes leading to `to`
        int to = -1;
        std::vector<int> empty; // moves without input
        int rule = -1;          // rule accepted here
    };
    struct Fragment {
        int first;
        int last;
    };
    class Parser;

    int add_nfa_state();
    std::vector<int> closure(std::vector<int> states) const;

    bool mapped;
    std::vector<NfaState> nfa;
    std::vector<int> starts;       // start state of every rule
    std::vector<int32_t> rule_expr; // expression of every rule
    std::vector<int32_t> expr_map;
};

} // namespace Lex
