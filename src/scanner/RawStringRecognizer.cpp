#include "scanner/RawStringRecognizer.h"

#include "scanner/CTokens.h"
#include "scanner/ScanBuffer.h"

#include <cstring>

namespace Lex {

int RawStringRecognizer::recognize(ScanBuffer* b, int head, int& type, int& len) const
{
    // Read the head again to pick up its delimiter: the bytes between the
    // double quote and the parenthesis.
    char closing[max_delimiter + 2]; // ')' delimiter '"'
    int size = 0;
    bool in_delimiter = false;
    b->retry();
    while (b->len() < head) {
        char const c = static_cast<char>(b->next());
        if (in_delimiter && c != '(') {
            if (size == max_delimiter)
                return 0;
            closing[1 + size++] = c;
        }
        if (c == '"')
            in_delimiter = true;
    }
    closing[0] = ')';
    closing[1 + size] = '"';
    int const closing_size = size + 2;

    // The body runs to the first closing sequence; the last bytes read are
    // kept to compare against it.
    char tail[max_delimiter + 2];
    int filled = 0;
    for (;;) {
        // Without a closing sequence before the end of the input (or of a
        // window of limited size) the head alone is an unknown token, which
        // the parser reports as an unterminated raw string; the bytes after
        // it are read as other tokens.
        if (b->state() != ScanBuffer::has_more) {
            type = TOK_UNKNOWN;
            len = head;
            return 1;
        }
        char const c = static_cast<char>(b->next());
        if (filled == closing_size) {
            std::memmove(tail, tail + 1, size_t(filled - 1));
            --filled;
        }
        tail[filled++] = c;
        if (filled == closing_size && c == '"' && std::memcmp(tail, closing, size_t(closing_size)) == 0)
            break;
    }
    type = TOK_STRING_VAL;
    len = b->len();
    return 1;
}

} // namespace Lex
