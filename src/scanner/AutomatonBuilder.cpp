#include "scanner/AutomatonBuilder.h"

#include <algorithm>
#include <map>

namespace Lex {

// Recursive-descent reader of one pattern into a fragment of the
// nondeterministic automaton (Thompson's construction).
class AutomatonBuilder::Parser {
public:
    Parser(AutomatonBuilder& builder, std::string const& pattern)
        : b(builder), p(pattern), pos(0)
    {
    }

    Fragment alternatives()
    {
        Fragment f = sequence();
        while (more() && peek() == '|') {
            ++pos;
            Fragment g = sequence();
            int first = b.add_nfa_state();
            int last = b.add_nfa_state();
            b.nfa[first].empty = {f.first, g.first};
            b.nfa[f.last].empty.push_back(last);
            b.nfa[g.last].empty.push_back(last);
            f = {first, last};
        }
        return f;
    }

    ByteSet set()
    {
        // At '[': an optional '^', then bytes and ranges up to ']'.
        ++pos;
        bool negate = more() && peek() == '^';
        if (negate)
            ++pos;
        ByteSet bytes;
        bool first = true;
        while (more() && (peek() != ']' || first)) {
            first = false;
            unsigned char lo = byte();
            if (pos + 1 < p.size() && peek() == '-' && p[pos + 1] != ']') {
                ++pos;
                unsigned char hi = byte();
                bytes |= byte_range(lo, hi);
            } else {
                bytes.set(lo);
            }
        }
        if (more())
            ++pos; // ']'
        return negate ? ~bytes : bytes;
    }

private:
    bool more() const { return pos < p.size(); }
    char peek() const { return p[pos]; }

    Fragment sequence()
    {
        int first = b.add_nfa_state();
        Fragment f = {first, first};
        while (more() && peek() != '|' && peek() != ')') {
            Fragment g = item();
            b.nfa[f.last].empty.push_back(g.first);
            f.last = g.last;
        }
        return f;
    }

    Fragment item()
    {
        Fragment f = atom();
        while (more() && (peek() == '*' || peek() == '+' || peek() == '?')) {
            char op = p[pos++];
            int first = b.add_nfa_state();
            int last = b.add_nfa_state();
            b.nfa[first].empty.push_back(f.first);
            if (op != '+')
                b.nfa[first].empty.push_back(last);
            b.nfa[f.last].empty.push_back(last);
            if (op != '?')
                b.nfa[f.last].empty.push_back(f.first);
            f = {first, last};
        }
        return f;
    }

    Fragment atom()
    {
        if (peek() == '(') {
            ++pos;
            Fragment f = alternatives();
            if (more())
                ++pos; // ')'
            return f;
        }
        ByteSet bytes;
        if (peek() == '[') {
            bytes = set();
        } else if (peek() == '.') {
            ++pos;
            bytes = all_bytes();
        } else {
            bytes.set(byte());
        }
        int first = b.add_nfa_state();
        int last = b.add_nfa_state();
        b.nfa[first].bytes = bytes;
        b.nfa[first].to = last;
        return {first, last};
    }

    // One byte, escaped or plain.
    unsigned char byte()
    {
        unsigned char c = static_cast<unsigned char>(p[pos++]);
        if (c != '\\' || !more())
            return c;
        c = static_cast<unsigned char>(p[pos++]);
        switch (c) {
        case 'n': return '\n';
        case 't': return '\t';
        case 'r': return '\r';
        case 'f': return '\f';
        case 'v': return '\v';
        case '0': return 0;
        case 'x': {
            unsigned value = 0;
            for (int i = 0; i < 2 && more(); ++i) {
                char h = p[pos++];
                value = value * 16 + static_cast<unsigned>(h <= '9' ? h - '0' : (h | 0x20) - 'a' + 10);
            }
            return static_cast<unsigned char>(value);
        }
        default: return c;
        }
    }

    AutomatonBuilder& b;
    std::string const& p;
    size_t pos;
};

int AutomatonBuilder::add_nfa_state()
{
    nfa.emplace_back();
    return static_cast<int>(nfa.size()) - 1;
}

AutomatonBuilder& AutomatonBuilder::rule(std::string const& pattern, int type)
{
    Parser parser(*this, pattern);
    Fragment f = parser.alternatives();
    int rule_index = static_cast<int>(starts.size());
    nfa[f.last].rule = rule_index;
    starts.push_back(f.first);

    int expr = type;
    if (mapped) {
        auto found = std::find(expr_map.begin(), expr_map.end(), type);
        expr = static_cast<int>(found - expr_map.begin());
        if (found == expr_map.end())
            expr_map.push_back(type);
    }
    rule_expr.push_back(expr);
    return *this;
}

AutomatonBuilder& AutomatonBuilder::word(std::string const& text, int type)
{
    std::string pattern;
    for (char c : text) {
        if (std::string("\\.[]()|*+?").find(c) != std::string::npos)
            pattern += '\\';
        pattern += c;
    }
    return rule(pattern, type);
}

ByteSet AutomatonBuilder::byte_set(std::string const& pattern)
{
    AutomatonBuilder scratch;
    Parser parser(scratch, pattern);
    return parser.set();
}

std::vector<int> AutomatonBuilder::closure(std::vector<int> states) const
{
    std::vector<bool> seen(nfa.size(), false);
    std::vector<int> todo = states;
    states.clear();
    while (!todo.empty()) {
        int s = todo.back();
        todo.pop_back();
        if (seen[s])
            continue;
        seen[s] = true;
        states.push_back(s);
        for (int t : nfa[s].empty)
            todo.push_back(t);
    }
    std::sort(states.begin(), states.end());
    return states;
}

TableRecognizer AutomatonBuilder::build() const
{
    // Subset construction: each state of the graph is a set of NFA states.
    StateGraph graph;
    std::map<std::vector<int>, int> known;
    std::vector<std::vector<int>> sets;

    auto state_of = [&](std::vector<int> const& set) {
        auto found = known.find(set);
        if (found != known.end())
            return found->second;
        int rule = -1;
        for (int s : set)
            if (nfa[s].rule >= 0 && (rule < 0 || nfa[s].rule < rule))
                rule = nfa[s].rule;
        int id = rule < 0 ? graph.add_state()
                          : graph.add_state(TableState::accepting, rule_expr[rule]);
        known.emplace(set, id);
        sets.push_back(set);
        return id;
    };

    int start = state_of(closure(starts));
    for (size_t done = 0; done < sets.size(); ++done) {
        std::vector<int> const set = sets[done];
        for (int c = 0; c < 256; ++c) {
            std::vector<int> moved;
            for (int s : set)
                if (nfa[s].to >= 0 && nfa[s].bytes.test(static_cast<size_t>(c)))
                    moved.push_back(nfa[s].to);
            if (moved.empty())
                continue;
            int to = state_of(closure(moved));
            graph.edge(static_cast<int>(done), static_cast<char>(c), to);
        }
    }
    return graph.pack(start, mapped ? expr_map : std::vector<int32_t>());
}

} // namespace Lex
