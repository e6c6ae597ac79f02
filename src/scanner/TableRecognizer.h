// A deterministic automaton held in tables, run over a scan buffer to find
// the longest piece it accepts. The tables are built on first use by
// AutomatonBuilder or StateGraph.
#pragma once

#include <cstdint>
#include <vector>

namespace Lex {

class ScanBuffer;

struct TableState {
    enum { not_accepting = 0, accepting = 1, accepting_to_mark = 2 };

    uint8_t accept; // one of the kinds above
    uint8_t mark;   // 1: passing this state records the length as the mark
    int32_t expr;   // expression number reported when the match ends here
    int32_t base;   // row offset into the comb vector
};

class TableRecognizer {
public:
    TableRecognizer() : start(0), n(0) { clear_map(); }

    // Runs the automaton from the buffer's current position. Returns 1 with
    // the expression and length of the longest match, 0 when nothing is
    // accepted, -1 when the buffer is in its error state. The buffer's length
    // is left where reading stopped. A match is never empty.
    int recognize(ScanBuffer* b, int& expr, int& len) const;

    // The token type of an expression through the expression map; an
    // automaton without a map reports the number itself.
    int type_of(int expr) const
    {
        if (expr_map.empty())
            return expr;
        return expr >= 0 && expr < static_cast<int>(expr_map.size()) ? expr_map[expr] : 0;
    }

    // The target of state s on byte c, or -1.
    int step(int s, unsigned char c) const;

    void clear_map()
    {
        for (int i = 0; i < 256; ++i)
            map[i] = -1;
    }

    // Character class of every byte; -1 ends any match.
    signed char map[256];
    int32_t start;
    std::vector<TableState> states;
    // Comb vector: the transition of state s on class k is valid when
    // i = base(s) + k lies in [0, n) and control[i] == s; its target is next[i].
    std::vector<int32_t> next;
    std::vector<int32_t> control;
    int32_t n;
    // Token types by expression number; empty when expressions are the types.
    std::vector<int32_t> expr_map;
};

// The automaton that build makes, made on first use; threads that ask at
// once wait for the one that builds it.
template <TableRecognizer (*build)()>
TableRecognizer const& built_once()
{
    static TableRecognizer const table = build();
    return table;
}

} // namespace Lex
