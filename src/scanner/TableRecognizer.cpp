#include "scanner/TableRecognizer.h"

#include "scanner/ScanBuffer.h"

namespace Lex {

int TableRecognizer::step(int s, unsigned char c) const
{
    int k = map[c];
    if (k < 0 || s < 0 || s >= static_cast<int>(states.size()))
        return -1;
    int i = states[s].base + k;
    if (i < 0 || i >= n || control[i] != s)
        return -1;
    return next[i];
}

int TableRecognizer::recognize(ScanBuffer* b, int& expr, int& len) const
{
    int s = start;
    int last = -1;
    int accepted = 0;
    int marked = 0;
    for (;;) {
        int st = b->state();
        if (st == ScanBuffer::in_error)
            return -1;
        if (st != ScanBuffer::has_more)
            break;
        s = step(s, static_cast<unsigned char>(b->next()));
        if (s < 0)
            break;
        TableState const& state = states[s];
        if (state.accept != TableState::not_accepting) {
            accepted = b->len();
            last = s;
        }
        if (state.mark)
            marked = b->len();
    }
    if (last < 0)
        return 0;
    int length = states[last].accept == TableState::accepting_to_mark ? marked : accepted;
    if (length <= 0)
        return 0;
    expr = states[last].expr;
    len = length;
    return 1;
}

} // namespace Lex
