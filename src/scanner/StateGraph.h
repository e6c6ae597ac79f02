// A deterministic automaton given state by state, packed into the tables of a
// TableRecognizer: bytes with equal transitions share a character class, and
// the rows of the transition table are overlaid in one comb vector.
#pragma once

#include "scanner/TableRecognizer.h"

#include <bitset>
#include <vector>

namespace Lex {

using ByteSet = std::bitset<256>;

// Sets of bytes for building transitions.
ByteSet bytes_of(char const* chars);
ByteSet byte_range(unsigned char first, unsigned char last);
ByteSet all_bytes();

class StateGraph {
public:
    // A new state; accept is a TableState kind, expr its expression.
    int add_state(int accept = TableState::not_accepting, int expr = 0, bool mark = false);
    // From state `from` every byte of `bytes` leads to `to` (later edges win).
    void edge(int from, ByteSet const& bytes, int to);
    void edge(int from, char byte, int to);

    int size() const { return static_cast<int>(nodes.size()); }
    int target(int s, unsigned char c) const { return nodes[s].target[c]; }

    // The tables of this graph, starting at `start`, with the expression map.
    TableRecognizer pack(int start, std::vector<int32_t> const& expr_map = {}) const;

private:
    struct Node {
        int accept;
        int expr;
        bool mark;
        int target[256];
    };
    std::vector<Node> nodes;
};

} // namespace Lex
