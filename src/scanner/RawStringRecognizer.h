// Raw string literals: R"delim( ... )delim" with an optional encoding prefix
// (u8, u, U, L). The closing sequence has to match the opening delimiter,
// which no finite automaton can check: the literal automaton recognizes the
// head, and this recognizer reads the body up to the closing sequence. A raw
// string may span lines; escapes mean nothing inside it.
#pragma once

namespace Lex {

class ScanBuffer;

class RawStringRecognizer {
public:
    // The rule of the head: prefix, R, double quote, delimiter (no blanks,
    // parentheses, backslashes or white-space controls), opening parenthesis.
    static constexpr char const* head_rule = "(u8|u|U|L)?R\"[^ ()\\\\\\t\\v\\f\\r\\n]*\\(";
    // The type an automaton reports for a head; never the type of a token.
    enum { head_type = -10 };
    // Longest delimiter a raw string may have.
    enum { max_delimiter = 16 };

    // With a head of head bytes matched at the buffer's current piece:
    // returns 1 with TOK_STRING_VAL and the raw length of the whole literal;
    // 1 with TOK_UNKNOWN and the head's length when no closing sequence
    // comes before the end of the input (or of the buffer's window); 0 for
    // a delimiter too long.
    int recognize(ScanBuffer* b, int head, int& type, int& len) const;
};

} // namespace Lex
