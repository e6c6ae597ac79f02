#include "scanner/SB_Filter.h"

namespace Lex {

// ---- SBF_ContLines

int SBF_ContLines::next()
{
    int c = next_buffer->next();
    if (c == '\n' && newline_at < 0)
        newline_at = len() - 1;
    skip_continuations();
    return c;
}

void SBF_ContLines::skip_continuations()
{
    while (next_buffer->state() == has_more) {
        int at = next_buffer->len();
        if (next_buffer->next() == '\\' && next_buffer->state() == has_more) {
            int c = next_buffer->next();
            if (c == '\r' && next_buffer->state() == has_more)
                c = next_buffer->next();
            if (c == '\n') {
                // Re-reading after more() must not record a continuation twice.
                if (offsets.empty() || at > offsets.last())
                    offsets.append(at);
                continue;
            }
        }
        next_buffer->more(at);
        return;
    }
}

void SBF_ContLines::reset()
{
    offsets.clear();
    next_buffer->reset();
    newline = true;
    newline_at = -1;
    skip_continuations();
}

void SBF_ContLines::retry()
{
    offsets.clear();
    newline_at = -1;
    next_buffer->retry();
    // Continuations that open the piece (at the start of the input) stay
    // hidden when it is read again.
    skip_continuations();
}

void SBF_ContLines::accept(int n)
{
    offsets.clear();
    newline = newline_at >= 0 && newline_at < n;
    newline_at = -1;
    next_buffer->accept(n);
}

// ---- SBF_LocManager

void SBF_LocManager::reset()
{
    next_buffer->reset();
    line = 1;
    column = 1;
}

void SBF_LocManager::accept(int n)
{
    // The buffer keeps n within the bytes it holds.
    next_buffer->more(n);
    n = next_buffer->len();
    char const* p = next_buffer->token();
    for (int i = 0; i < n; ++i) {
        if (p[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    next_buffer->accept(n);
}

} // namespace Lex
