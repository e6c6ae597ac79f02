#include "scanner/CCommentRecognizer.h"

#include "scanner/AutomatonBuilder.h"
#include "scanner/CTokens.h"
#include "scanner/ScanBuffer.h"

namespace Lex {

namespace {

// Expressions of the multi-line automaton.
enum { text_expr = 0, close_expr = 1, line_expr = 2 };

TableRecognizer comment_start()
{
    return AutomatonBuilder()
        .word("//", TOK_COMMENT_LINE)
        .word("/*", TOK_COMMENT_BEGIN)
        .build();
}

// Every byte but the newline, NUL and 0xFF included.
TableRecognizer single_line_text()
{
    return AutomatonBuilder().rule("[^\\n]+", TOK_COMMENT_TEXT).build();
}

// A piece of a multi-line comment is "*/" itself, or the text in front of
// the next newline (newline included) or in front of the next "*/". When a
// text reaches a run of stars, the mark holds the length before the run: if
// "/" follows, the piece ends there, and the stars come one by one as pieces
// of their own until the last one closes the comment.
TableRecognizer multi_line_piece()
{
    StateGraph g;
    int start = g.add_state();
    int text = g.add_state(TableState::accepting, text_expr, true);
    int line_end = g.add_state(TableState::accepting, line_expr);
    int star = g.add_state(TableState::accepting, text_expr, true); // a star opens the piece
    int stars = g.add_state(TableState::accepting_to_mark, text_expr); // text and stars
    int close = g.add_state(TableState::accepting, close_expr);

    ByteSet const plain = all_bytes() & ~bytes_of("\n*");
    g.edge(start, plain, text);
    g.edge(start, '\n', line_end);
    g.edge(start, '*', star);

    g.edge(text, plain, text);
    g.edge(text, '\n', line_end);
    g.edge(text, '*', stars);

    g.edge(star, plain, text);
    g.edge(star, '\n', line_end);
    g.edge(star, '*', stars);
    g.edge(star, '/', close);

    g.edge(stars, all_bytes() & ~bytes_of("\n*/"), text);
    g.edge(stars, '\n', line_end);
    g.edge(stars, '*', stars);
    // "/" after stars: no edge, the piece ends at the mark.

    return g.pack(start, {TOK_COMMENT_TEXT, TOK_COMMENT_END, TOK_COMMENT_TEXT});
}

} // namespace

TableRecognizer const& CCommentRecognizer::comment_recognizer()
{
    return built_once<comment_start>();
}
TableRecognizer const& CCommentRecognizer::sl_comment_recognizer()
{
    return built_once<single_line_text>();
}
TableRecognizer const& CCommentRecognizer::ml_comment_recognizer()
{
    return built_once<multi_line_piece>();
}

int CCommentRecognizer::recognize(ScanBuffer* b, int& type, int& len)
{
    int expr = 0;
    switch (mode) {
    case outside: {
        int result = comment_recognizer().recognize(b, expr, len);
        if (result == 1) {
            type = comment_recognizer().type_of(expr);
            mode = type == TOK_COMMENT_LINE ? single_line : multi_line;
        }
        return result;
    }
    case single_line: {
        // "//" right before a newline has no text; the newline is not comment.
        int result = sl_comment_recognizer().recognize(b, expr, len);
        if (result == 1)
            type = TOK_COMMENT_TEXT;
        mode = outside;
        return result;
    }
    default: {
        int result = ml_comment_recognizer().recognize(b, expr, len);
        if (result != 1)
            return result;
        type = ml_comment_recognizer().type_of(expr);
        if (type == TOK_COMMENT_END) {
            mode = outside;
            return 1;
        }
        // A comment left open by the end of the input keeps the stars that
        // end its last line in its last piece.
        if (expr != text_expr)
            return 1;
        b->more(len);
        while (b->state() == ScanBuffer::has_more)
            if (b->next() != '*')
                return 1;
        if (b->state() == ScanBuffer::at_end)
            len = b->len();
        return 1;
    }
    }
}

} // namespace Lex
