#include "scanner/CRecognizer.h"

#include "scanner/AutomatonBuilder.h"

#include <string>

namespace Lex {

namespace {

// Token types made here.
int const t_flt_value = 44;
int const t_identifier = 50;
int const t_int_value = 55;
int const t_char_value = 15;
int const t_string_value = 98;
int const t_zero = 120; // "0" standing alone
int const t_white_space = 200;
int const t_macro_hash = 500;
int const t_macro_hash_hash = 501;
int const t_first_wildcard = 300;

struct Spelling {
    char const* text;
    int type;
};

// Optional blanks and tabs, "#", optional blanks and tabs.
std::string const hash_lead = "[ \\t]*#[ \\t]*";

TableRecognizer preprocessor_directives()
{
    Spelling const words[] = {
        {"assert", 1}, {"define", 3}, {"elif", 5}, {"else", 6}, {"endif", 7},
        {"error", 8}, {"if", 10}, {"ifdef", 11}, {"ifndef", 12},
        {"import", 13}, {"include", 13}, {"include_next", 14},
        {"unassert", 20}, {"undef", 21}, {"warning", 22},
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
        .rule(hash_lead, 0)
        .rule(hash_lead + "pragma", 1)
        .rule(hash_lead + "line", 2)
        .rule(hash_lead + "ident", 3)
        .build();
}

TableRecognizer white_space()
{
    // Vertical tab is not white space.
    return AutomatonBuilder().rule("[ \\t\\n\\f\\r]+", t_white_space).build();
}

TableRecognizer literals()
{
    // An escape pair is a backslash and any byte after it; any byte may
    // appear, newlines included. An unterminated literal is not accepted.
    return AutomatonBuilder()
        .rule("L?\"([^\"\\\\]|\\\\.)*\"", t_string_value)
        .rule("L?'([^'\\\\]|\\\\.)+'", t_char_value)
        .build();
}

TableRecognizer macro_operators()
{
    return AutomatonBuilder().word("#", t_macro_hash).word("##", t_macro_hash_hash).build();
}

TableRecognizer wildcard_words()
{
    char const* const words[] = {
        "\\and", "\\or", "\\xor", "\\seq", "\\if", "\\elif", "\\endif", "\\not",
        "\\exact", "\\first", "\\last", "\\leaf", "\\prune", "\\collect", "\\nodename",
        "\\element", "\\do-expression", "\\do-expression-list", "\\do-id-expression",
        "\\do-identifier", "\\do-decl-specifier", "\\do-decl-specifier-seq",
        "\\do-init-declarator-list", "\\do-init-declarator", "\\do-declarator",
        "\\do-initializer", "\\do-parameter-declaration-clause", "\\do-function-body",
        "\\do-class-specifier", "\\do-member-specification", "\\do-member-declaration",
        "\\do-base-clause", "\\do-ctor-initializer", "\\do-mem-initializer",
        "\\do-statement", "\\do-statement-seq", "\\any-expression", "\\any-expression-list",
        "\\any-id-expression", "\\any-identifier", "\\any-decl-specifier",
        "\\any-decl-specifier-seq", "\\any-init-declarator-list", "\\any-init-declarator",
        "\\any-declarator", "\\any-initializer", "\\any-parameter-declaration-clause",
        "\\any-function-body", "\\any-class-specifier", "\\any-member-specification",
        "\\any-member-declaration", "\\any-base-clause", "\\any-ctor-initializer",
        "\\any-mem-initializer", "\\any-statement", "\\any-statement-seq",
        "\\is-class", "\\is-enum", "\\is-typedef",
    };
    // Each word has its own number, in this order; no word boundary.
    AutomatonBuilder builder;
    int type = t_first_wildcard;
    for (char const* w : words)
        builder.word(w, type++);
    return builder.build();
}

TableRecognizer operators_and_numbers()
{
    Spelling const operators[] = {
        {"+=", 1}, {"&", 2}, {"&&", 3}, {"&=", 4}, {"=", 6}, {"@", 7},
        {"}", 17}, {")", 18}, {"]", 19}, {":", 20}, {"::", 21}, {",", 22},
        {"--", 26}, {"/", 29}, {"/=", 30}, {".", 32}, {".*", 33}, {"...", 36},
        {"==", 39}, {">=", 47}, {">", 49}, {"++", 52}, {"|=", 56}, {"<=", 57},
        {"<", 58}, {"<<", 60}, {"<<=", 61}, {"-", 62}, {"%", 63}, {"%=", 64},
        {"*", 65}, {"*=", 66}, {"!=", 69}, {"!", 71}, {"{", 72}, {"(", 73},
        {"[", 74}, {"|", 76}, {"||", 77}, {"+", 78}, {"->", 81}, {"->*", 82},
        {"?", 84}, {"^", 89}, {">>", 90}, {">>=", 91}, {";", 92}, {"-=", 100},
        {"~", 105}, {"^=", 119},
    };
    AutomatonBuilder builder;
    for (Spelling const& op : operators)
        builder.word(op.text, op.type);

    std::string const hex_digit = "[0-9a-fA-F]";
    // U, UL, ULL, L, LU, LUL, LL, LLU, letters in either case.
    std::string const int_suffix = "([uU]([lL][lL]?)?|[lL]([uU][lL]?|[lL][uU]?)?)";
    std::string const exponent = "([eE][+\\-]?[0-9]+)";
    std::string const float_suffix = "[fFlL]?";

    // Integers come first: of equal matches they win, so after a leading "0"
    // an "e" or an "f" is a hexadecimal digit ("0e5" and "0f" are integers).
    builder.word("0", t_zero)
        .rule("0" + int_suffix, t_int_value)
        .rule("[1-9][0-9]*" + int_suffix + "?", t_int_value)
        .rule("0" + hex_digit + "+" + int_suffix + "?", t_int_value)
        .rule("0[xX]" + hex_digit + "+" + int_suffix + "?", t_int_value)
        .rule("[0-9]+\\.[0-9]*" + exponent + "?" + float_suffix, t_flt_value)
        .rule("\\.[0-9]+" + exponent + "?" + float_suffix, t_flt_value)
        .rule("[0-9]+" + exponent + float_suffix, t_flt_value)
        .rule("[1-9][0-9]*[fF]", t_flt_value);
    return builder.build();
}

TableRecognizer identifiers()
{
    // Bytes above 127 are never part of an identifier.
    return AutomatonBuilder().rule("[A-Za-z_][A-Za-z0-9_]*", t_identifier).build();
}

} // namespace

TableRecognizer const CRecognizer::pre_dir_recognizer = preprocessor_directives();
TableRecognizer const CRecognizer::dir_recognizer = directives();
TableRecognizer const CRecognizer::whitespace_recognizer = white_space();
TableRecognizer const CRecognizer::string_recognizer = literals();
TableRecognizer const CRecognizer::pre_token_recognizer = macro_operators();
TableRecognizer const CRecognizer::wildcard_recognizer = wildcard_words();
TableRecognizer const CRecognizer::core_recognizer = operators_and_numbers();
TableRecognizer const CRecognizer::identifier_recognizer = identifiers();

CRecognizer::CRecognizer()
    : directive_state(ordinary_line),
      line_start(true),
      wildcards_on(false),
      aspect_keywords_on(false),
      fop_keywords_on(true),
      pre_token_on(false),
      c_keywords_on(true),
      cpp_keywords_on(true)
{
}

void CRecognizer::setup(ScanBuffer& b)
{
    comment_recognizer.mode = CCommentRecognizer::outside;
    loc_manager.set_next(&b);
    cont_lines.set_next(&loc_manager);
    line_start = true;
    directive_state = ordinary_line;
    cont_lines.reset();
}

void CRecognizer::location(long& line, long& column) const
{
    line = loc_manager.get_line();
    column = loc_manager.get_column();
}

} // namespace Lex
