#include "scanner/StateGraph.h"

#include <map>

namespace Lex {

ByteSet bytes_of(char const* chars)
{
    ByteSet set;
    for (; *chars; ++chars)
        set.set(static_cast<unsigned char>(*chars));
    return set;
}

ByteSet byte_range(unsigned char first, unsigned char last)
{
    ByteSet set;
    for (int c = first; c <= last; ++c)
        set.set(static_cast<size_t>(c));
    return set;
}

ByteSet all_bytes()
{
    return ByteSet().set();
}

int StateGraph::add_state(int accept, int expr, bool mark)
{
    Node node;
    node.accept = accept;
    node.expr = expr;
    node.mark = mark;
    for (int& t : node.target)
        t = -1;
    nodes.push_back(node);
    return size() - 1;
}

void StateGraph::edge(int from, ByteSet const& bytes, int to)
{
    for (int c = 0; c < 256; ++c)
        if (bytes.test(static_cast<size_t>(c)))
            nodes[from].target[c] = to;
}

void StateGraph::edge(int from, char byte, int to)
{
    nodes[from].target[static_cast<unsigned char>(byte)] = to;
}

TableRecognizer StateGraph::pack(int start, std::vector<int32_t> const& expr_map) const
{
    TableRecognizer t;
    t.start = start;
    t.expr_map = expr_map;

    // Character classes: bytes whose columns are equal; a byte that leads
    // nowhere from any state ends every match.
    std::map<std::vector<int>, int> classes;
    std::vector<int> sample; // a byte of each class
    for (int c = 0; c < 256; ++c) {
        std::vector<int> column;
        bool used = false;
        for (Node const& node : nodes) {
            column.push_back(node.target[c]);
            used = used || node.target[c] >= 0;
        }
        if (!used)
            continue;
        auto found = classes.find(column);
        if (found == classes.end()) {
            found = classes.emplace(column, static_cast<int>(sample.size())).first;
            sample.push_back(c);
        }
        t.map[c] = static_cast<signed char>(found->second);
    }

    // Comb vector: every row goes to the first base where its entries fit.
    for (int s = 0; s < size(); ++s) {
        Node const& node = nodes[s];
        std::vector<int> row_classes;
        for (int k = 0; k < static_cast<int>(sample.size()); ++k)
            if (node.target[sample[k]] >= 0)
                row_classes.push_back(k);
        int base = 0;
        if (!row_classes.empty()) {
            for (base = -row_classes.front();; ++base) {
                bool fits = true;
                for (int k : row_classes) {
                    size_t i = static_cast<size_t>(base + k);
                    if (i < t.control.size() && t.control[i] >= 0) {
                        fits = false;
                        break;
                    }
                }
                if (fits)
                    break;
            }
            for (int k : row_classes) {
                size_t i = static_cast<size_t>(base + k);
                if (i >= t.control.size()) {
                    t.control.resize(i + 1, -1);
                    t.next.resize(i + 1, -1);
                }
                t.control[i] = s;
                t.next[i] = node.target[sample[k]];
            }
        }
        TableState state;
        state.accept = static_cast<uint8_t>(node.accept);
        state.mark = node.mark ? 1 : 0;
        state.expr = node.expr;
        state.base = base;
        t.states.push_back(state);
    }
    t.n = static_cast<int32_t>(t.next.size());
    return t;
}

} // namespace Lex
