#include "scanner/CRecognizer.h"

#include "scanner/AutomatonBuilder.h"
#include "scanner/CTokens.h"

#include <string>

namespace Lex {

namespace {

struct Spelling {
    char const* text;
    int type;
};

// Optional blanks and tabs, "#", optional blanks and tabs.
std::string const hash_lead = "[ \\t]*#[ \\t]*";

TableRecognizer preprocessor_directives()
{
    Spelling const words[] = {
        {"assert", PRE_ASSERT}, {"define", PRE_DEFINE}, {"elif", PRE_ELIF}, {"else", PRE_ELSE},
        {"endif", PRE_ENDIF}, {"error", PRE_ERROR}, {"if", PRE_IF}, {"ifdef", PRE_IFDEF},
        {"ifndef", PRE_IFNDEF}, {"import", PRE_INCLUDE}, {"include", PRE_INCLUDE},
        {"include_next", PRE_INCLUDE_NEXT}, {"unassert", PRE_UNASSERT}, {"undef", PRE_UNDEF},
        {"warning", PRE_WARNING},
    };
    // No word boundary: "#ifdefX" is "#ifdef" and the identifier X.
    AutomatonBuilder builder;
    for (Spelling const& w : words)
        builder.rule(hash_lead + w.text, w.type);
    return builder.build();
}

TableRecognizer directives()
{
    return AutomatonBuilder(false)
        .rule(hash_lead, DIR_HASH)
        .rule(hash_lead + "pragma", DIR_PRAGMA)
        .rule(hash_lead + "line", DIR_LINE)
        .rule(hash_lead + "ident", DIR_IDENT)
        .build();
}

TableRecognizer white_space()
{
    // Vertical tab is not white space.
    return AutomatonBuilder().rule("[ \\t\\n\\f\\r]+", TOK_WHITESPACE).build();
}

TableRecognizer literals()
{
    // An optional encoding prefix; an escape pair is a backslash and any
    // byte after it. A literal ends on its line, as in C and C++: one that is
    // not closed there is not accepted (a line continuation is no line end).
    // The head of a raw string is reported with its own type; the raw string
    // recognizer reads the rest.
    std::string const prefix = "(L|u8|u|U)?";
    return AutomatonBuilder()
        .rule(prefix + "\"([^\"\\\\\\n]|\\\\[^\\n])*\"", TOK_STRING_VAL)
        .rule(prefix + "'([^'\\\\\\n]|\\\\[^\\n])+'", TOK_CHAR_VAL)
        .rule(RawStringRecognizer::head_rule, RawStringRecognizer::head_type)
        .build();
}

TableRecognizer macro_operators()
{
    return AutomatonBuilder().word("#", TOK_MACRO_HASH).word("##", TOK_MACRO_HASH_HASH).build();
}

TableRecognizer wildcard_words()
{
    // Each wildcard word is the fixed text of its own number; no word boundary.
    AutomatonBuilder builder;
    for (int type = TOK_WC_FIRST; type <= TOK_WC_LAST; ++type)
        builder.word(static_text(type), type);
    return builder.build();
}

TableRecognizer operators_and_numbers()
{
    Spelling const operators[] = {
        {"+=", TOK_PLUS_ASSIGN}, {"&", TOK_AND}, {"&&", TOK_AND_AND}, {"&=", TOK_AND_ASSIGN},
        {"=", TOK_ASSIGN}, {"@", TOK_AT}, {"}", TOK_CLOSE_CURLY}, {")", TOK_CLOSE_ROUND},
        {"]", TOK_CLOSE_SQUARE}, {":", TOK_COLON}, {"::", TOK_COLON_COLON}, {",", TOK_COMMA},
        {"--", TOK_DECR}, {"/", TOK_DIV}, {"/=", TOK_DIV_ASSIGN}, {".", TOK_DOT},
        {".*", TOK_DOT_STAR}, {"...", TOK_ELLIPSIS}, {"==", TOK_EQ}, {">=", TOK_GEQ},
        {">", TOK_GREATER}, {"++", TOK_INCR}, {"|=", TOK_OR_ASSIGN}, {"<=", TOK_LEQ},
        {"<", TOK_LESS}, {"<<", TOK_LSH}, {"<<=", TOK_LSH_ASSIGN}, {"-", TOK_MINUS},
        {"%", TOK_MODULO}, {"%=", TOK_MOD_ASSIGN}, {"*", TOK_MUL}, {"*=", TOK_MUL_ASSIGN},
        {"!=", TOK_NEQ}, {"!", TOK_NOT}, {"{", TOK_OPEN_CURLY}, {"(", TOK_OPEN_ROUND},
        {"[", TOK_OPEN_SQUARE}, {"|", TOK_OR}, {"||", TOK_OR_OR}, {"+", TOK_PLUS},
        {"->", TOK_PTS}, {"->*", TOK_PTS_STAR}, {"?", TOK_QUESTION}, {"^", TOK_XOR},
        {">>", TOK_RSH}, {">>=", TOK_RSH_ASSIGN}, {";", TOK_SEMI_COLON},
        {"-=", TOK_MINUS_ASSIGN}, {"~", TOK_TILDE}, {"^=", TOK_XOR_ASSIGN},
    };
    AutomatonBuilder builder;
    for (Spelling const& op : operators)
        builder.word(op.text, op.type);

    // Digit sequences may be split by single quotes between digits
    // (1'000'000, 0x1'0).
    std::string const digits = "[0-9]('?[0-9])*";
    std::string const hex_digit = "[0-9a-fA-F]";
    std::string const hex_digits = hex_digit + "('?" + hex_digit + ")*";
    // U, UL, ULL, L, LU, LUL, LL, LLU, letters in either case.
    std::string const int_suffix = "([uU]([lL][lL]?)?|[lL]([uU][lL]?|[lL][uU]?)?)";
    std::string const exponent = "([eE][+\\-]?" + digits + ")";
    std::string const float_suffix = "[fFlL]?";

    // Integers come first: of equal matches they win, so after a leading "0"
    // an "e" or an "f" is a hexadecimal digit ("0e5" and "0f" are integers).
    // A leading "0" takes hexadecimal digits, which covers binary literals.
    builder.word("0", TOK_ZERO_VAL)
        .rule("0" + int_suffix, TOK_INT_VAL)
        .rule("[1-9]('?[0-9])*" + int_suffix + "?", TOK_INT_VAL)
        .rule("0('?" + hex_digit + ")+" + int_suffix + "?", TOK_INT_VAL)
        .rule("0[xX]" + hex_digits + int_suffix + "?", TOK_INT_VAL)
        .rule(digits + "\\.(" + digits + ")?" + exponent + "?" + float_suffix, TOK_FLT_VAL)
        .rule("\\." + digits + exponent + "?" + float_suffix, TOK_FLT_VAL)
        .rule(digits + exponent + float_suffix, TOK_FLT_VAL)
        .rule("[1-9]('?[0-9])*[fF]", TOK_FLT_VAL)
        // Hexadecimal floating literals: 0x1.8p3, 0x.8p-2.
        .rule("0[xX](" + hex_digits + "(\\.(" + hex_digits + ")?)?|\\." + hex_digits + ")[pP][+\\-]?" + digits +
                  float_suffix,
              TOK_FLT_VAL);
    return builder.build();
}

TableRecognizer identifiers()
{
    // Bytes above 127 are never part of an identifier.
    return AutomatonBuilder().rule("[A-Za-z_][A-Za-z0-9_]*", TOK_ID).build();
}

} // namespace

TableRecognizer const& CRecognizer::pre_dir_recognizer()
{
    return built_once<preprocessor_directives>();
}
TableRecognizer const& CRecognizer::dir_recognizer()
{
    return built_once<directives>();
}
TableRecognizer const& CRecognizer::whitespace_recognizer()
{
    return built_once<white_space>();
}
TableRecognizer const& CRecognizer::string_recognizer()
{
    return built_once<literals>();
}
TableRecognizer const& CRecognizer::pre_token_recognizer()
{
    return built_once<macro_operators>();
}
TableRecognizer const& CRecognizer::wildcard_recognizer()
{
    return built_once<wildcard_words>();
}
TableRecognizer const& CRecognizer::core_recognizer()
{
    return built_once<operators_and_numbers>();
}
TableRecognizer const& CRecognizer::identifier_recognizer()
{
    return built_once<identifiers>();
}

CRecognizer::CRecognizer()
    : directive_state(ordinary_line),
      condition_word(0),
      condition_value(0),
      skip_depth(-1),
      line_start(true),
      wildcards_on(false),
      aspect_keywords_on(false),
      fop_keywords_on(true),
      pre_token_on(false),
      c_keywords_on(true),
      cpp_keywords_on(true)
{
}

void CRecognizer::same_settings(CRecognizer const& other)
{
    wildcards_on = other.wildcards_on;
    aspect_keywords_on = other.aspect_keywords_on;
    fop_keywords_on = other.fop_keywords_on;
    pre_token_on = other.pre_token_on;
    c_keywords_on = other.c_keywords_on;
    cpp_keywords_on = other.cpp_keywords_on;
}

void CRecognizer::setup(ScanBuffer& b)
{
    comment_recognizer.mode = CCommentRecognizer::outside;
    loc_manager.set_next(&b);
    cont_lines.set_next(&loc_manager);
    line_start = true;
    directive_state = ordinary_line;
    taken_branches.clear();
    condition_word = 0;
    condition_value = 0;
    skip_depth = -1;
    cont_lines.reset();
}

int CRecognizer::try_table(TableRecognizer const& automaton, Lang kind, Lang& lang, int& type,
                           int& len)
{
    lang = kind;
    cont_lines.retry();
    int expr = 0;
    int result = automaton.recognize(&cont_lines, expr, len);
    if (result == 1)
        type = automaton.type_of(expr);
    return result;
}

template <class R>
int CRecognizer::try_keywords(R const& recognizer, Lang& lang, int& type, int& len)
{
    lang = lang_keyword;
    cont_lines.retry();
    return recognizer.recognize(&cont_lines, type, len);
}

int CRecognizer::recognize(Lang& lang, int& type, int& len)
{
    if (pre_token_on)
        return recognize_piece(lang, type, len);
    if (cont_lines.new_line())
        end_condition_line();
    if (skip_depth >= 0) {
        int result = skipped_text(lang, type, len);
        if (result != 0)
            return result;
    }
    int result = recognize_piece(lang, type, len);
    if (result == 1)
        note_condition(lang, type, len);
    return result;
}

void CRecognizer::note_condition(Lang lang, int type, int len)
{
    if (lang == lang_pre_directive) {
        condition_word = 0;
        condition_value = 0;
        switch (type) {
        case PRE_IF:
        case PRE_IFDEF:
        case PRE_IFNDEF:
            taken_branches.push_back(false);
            condition_word = type;
            break;
        case PRE_ELIF:
        case PRE_ELSE:
            condition_word = type;
            break;
        case PRE_ENDIF:
            if (!taken_branches.empty())
                taken_branches.pop_back();
            break;
        default:
            break;
        }
        return;
    }
    if (condition_word == 0 || lang == lang_whitespace || lang == lang_comment)
        return;
    if (condition_value != 0)
        condition_value = 3;
    else if (type == TOK_ZERO_VAL)
        condition_value = 1;
    else
        condition_value = type == TOK_INT_VAL && len == 1 && *cont_lines.token() == '1' ? 2 : 3;
}

void CRecognizer::end_condition_line()
{
    int const word = condition_word;
    condition_word = 0;
    if (word == 0 || taken_branches.empty())
        return;
    size_t const top = taken_branches.size() - 1;
    bool const zero = condition_value == 1;
    bool const one = condition_value == 2;
    bool skip = false;
    switch (word) {
    case PRE_IF:
        skip = zero;
        taken_branches[top] = one;
        break;
    case PRE_ELIF:
        skip = taken_branches[top] || zero;
        if (one)
            taken_branches[top] = true;
        break;
    case PRE_ELSE:
        skip = taken_branches[top];
        break;
    default:
        break;
    }
    if (skip)
        skip_depth = 0;
}

int CRecognizer::skipped_text(Lang& lang, int& type, int& len)
{
    lang = lang_comment;
    int result = comment_recognizer.recognize(&cont_lines, type, len);
    if (result != 0)
        return result;
    if (cont_lines.new_line()) {
        int word = 0;
        if (try_table(pre_dir_recognizer(), lang_pre_directive, lang, word, len) == 1) {
            switch (word) {
            case PRE_IF:
            case PRE_IFDEF:
            case PRE_IFNDEF:
                ++skip_depth;
                break;
            case PRE_ENDIF:
                if (skip_depth-- == 0)
                    return 0;
                break;
            case PRE_ELIF:
            case PRE_ELSE:
                if (skip_depth == 0) {
                    skip_depth = -1;
                    return 0;
                }
                break;
            default:
                break;
            }
        }
    }
    result = try_table(whitespace_recognizer(), lang_whitespace, lang, type, len);
    if (result != 0)
        return result;
    len = skipped_line_length();
    if (len == 0)
        return 0;
    lang = lang_comment;
    type = TOK_COMMENT_TEXT;
    return 1;
}

int CRecognizer::skipped_line_length()
{
    cont_lines.retry();
    int quote = 0;
    int end = 0;
    while (cont_lines.state() == ScanBuffer::has_more) {
        int const before = cont_lines.len();
        int const c = cont_lines.next();
        if (c == '\n')
            return before;
        if (quote) {
            if (c == quote)
                quote = 0;
            else if (c == '\\' && cont_lines.state() == ScanBuffer::has_more) {
                int const after = cont_lines.len();
                if (cont_lines.next() == '\n')
                    return after;
            }
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '/' && cont_lines.state() == ScanBuffer::has_more) {
            // A comment stays a comment, as the preprocessor reads it.
            int const mark = cont_lines.len();
            int const next = cont_lines.next();
            if (next == '*' || next == '/')
                return before;
            cont_lines.more(mark);
        }
        end = cont_lines.len();
    }
    return end;
}

int CRecognizer::recognize_piece(Lang& lang, int& type, int& len)
{
    if (cont_lines.new_line()) {
        directive_state = ordinary_line;
        line_start = true;
    }

    // A comment goes on where the last piece stopped.
    lang = lang_comment;
    int result = comment_recognizer.recognize(&cont_lines, type, len);
    if (result != 0)
        return result;

    if (line_start && !pre_token_on) {
        line_start = false;
        result = try_table(pre_dir_recognizer(), lang_pre_directive, lang, type, len);
        if (result == 1)
            directive_state = preprocessor_line;
        if (result != 0)
            return result;
        result = try_table(dir_recognizer(), lang_directive, lang, type, len);
        if (result == 1)
            directive_state = directive_line;
        if (result != 0)
            return result;
    }

    result = try_table(whitespace_recognizer(), lang_whitespace, lang, type, len);
    if (result != 0)
        return result;
    result = try_table(string_recognizer(), lang_string, lang, type, len);
    if (result == 1 && type == RawStringRecognizer::head_type)
        result = raw_string_recognizer.recognize(&cont_lines, len, type, len);
    if (result != 0)
        return result;
    if (directive_state != ordinary_line && (result = lone_quote(type, len)) != 0)
        return result;
    if (pre_token_on || directive_state == preprocessor_line) {
        result = try_table(pre_token_recognizer(), lang_macro_op, lang, type, len);
        if (result != 0)
            return result;
    }
    if (wildcards_on) {
        result = try_table(wildcard_recognizer(), lang_wildcard, lang, type, len);
        if (result != 0)
            return result;
    }
    result = try_table(core_recognizer(), lang_core, lang, type, len);
    if (result != 0)
        return result;

    // Each keyword set builds on the ones before it.
    bool const cpp_on = cpp_keywords_on || fop_keywords_on || aspect_keywords_on;
    bool const c_on = c_keywords_on || cpp_on;
    if (c_on && (result = try_keywords(c_keyword_recognizer, lang, type, len)) != 0)
        return result;
    if (cpp_on && (result = try_keywords(cc_keyword_recognizer, lang, type, len)) != 0)
        return result;
    if (fop_keywords_on && (result = try_keywords(fop_keyword_recognizer, lang, type, len)) != 0)
        return result;
    if (aspect_keywords_on && (result = try_keywords(aspect_keyword_recognizer, lang, type, len)) != 0)
        return result;

    result = try_table(identifier_recognizer(), lang_identifier, lang, type, len);
    if (result != 0)
        return result;

    // Nothing matched: one byte, with the continuations right behind it, so
    // that those stay in this piece's raw text.
    lang = lang_unknown;
    type = 0;
    cont_lines.retry();
    cont_lines.next();
    len = cont_lines.len();
    return 0;
}

int CRecognizer::lone_quote(int& type, int& len)
{
    cont_lines.retry();
    int const c = cont_lines.next();
    if (c != '\'' && c != '"')
        return 0;
    type = c == '\'' ? TOK_CHAR_VAL : TOK_STRING_VAL;
    len = cont_lines.len();
    return 1;
}

void CRecognizer::location(long& line, long& column) const
{
    line = loc_manager.get_line();
    column = loc_manager.get_column();
}

} // namespace Lex
