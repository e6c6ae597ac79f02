#include "scanner/CTokens.h"

namespace Lex {

namespace {

// Fixed texts of 0..139; null marks a number without one.
char const* const core_texts[] = {
    nullptr, "+=", "&", "&&", "&=", "asm", "=", "@", "auto", "bool",
    "<bool_value>", "break", "case", "catch", "char", "<char_value>", "class", "}", ")", "]",
    ":", "::", ",", "const", "const_cast", "continue", "--", "default", "delete", "/",
    "/=", "do", ".", ".*", "double", "dynamic_cast", "...", "else", "enum", "==",
    "explicit", "export", "extern", "float", "<flt_value>", "for", "friend", ">=", "goto", ">",
    "<ID>", "if", "++", "inline", "int", "<int_value>", "|=", "<=", "<", "long",
    "<<", "<<=", "-", "%", "%=", "*", "*=", "mutable", "namespace", "!=",
    "new", "!", "{", "(", "[", "operator", "|", "||", "+", "private",
    "protected", "->", "->*", "public", "?", "register", "reinterpret_cast", nullptr, "return", "^",
    ">>", ">>=", ";", "short", nullptr, "sizeof", "static", "static_cast", "<string_value>", "struct",
    "-=", "switch", "template", "this", "throw", "~", "try", "typedef", "typeid", "typename",
    nullptr, "union", "unsigned", "using", "virtual", "void", "volatile", "wchar_t", "while", "^=",
    "0", "__cdecl", "__stdcall", nullptr, "__int64", nullptr, nullptr, "advice", "aspect", "pointcut",
    "__unknown_t", "refines", "layer", "super", "override", "mixin", "extends", "implements", "interface", "import",
};
static_assert(sizeof(core_texts) / sizeof(core_texts[0]) == TOK_IMPORT + 1, "one text per core number");

char const* const comment_texts[] = {"//", "/*", "*/", "<comment_text>"};

char const* const wildcard_texts[] = {
    "\\and", "\\or", "\\xor", "\\seq", "\\if", "\\elif", "\\endif", "\\not", "\\exact", "\\first",
    "\\last", "\\leaf", "\\prune", "\\collect", "\\nodename", "\\element", "\\do-expression",
    "\\do-expression-list", "\\do-id-expression", "\\do-identifier", "\\do-decl-specifier",
    "\\do-decl-specifier-seq", "\\do-init-declarator-list", "\\do-init-declarator", "\\do-declarator",
    "\\do-initializer", "\\do-parameter-declaration-clause", "\\do-function-body",
    "\\do-class-specifier", "\\do-member-specification", "\\do-member-declaration",
    "\\do-base-clause", "\\do-ctor-initializer", "\\do-mem-initializer", "\\do-statement",
    "\\do-statement-seq", "\\any-expression", "\\any-expression-list", "\\any-id-expression",
    "\\any-identifier", "\\any-decl-specifier", "\\any-decl-specifier-seq",
    "\\any-init-declarator-list", "\\any-init-declarator", "\\any-declarator", "\\any-initializer",
    "\\any-parameter-declaration-clause", "\\any-function-body", "\\any-class-specifier",
    "\\any-member-specification", "\\any-member-declaration", "\\any-base-clause",
    "\\any-ctor-initializer", "\\any-mem-initializer", "\\any-statement", "\\any-statement-seq",
    "\\is-class", "\\is-enum", "\\is-typedef",
};
static_assert(sizeof(wildcard_texts) / sizeof(wildcard_texts[0]) == TOK_WC_LAST - TOK_WC_FIRST + 1,
              "one text per wildcard number");

} // namespace

char const* static_text(int type)
{
    char const* text = nullptr;
    if (type >= 0 && type <= TOK_IMPORT)
        text = core_texts[type];
    else if (type == TOK_WHITESPACE)
        text = "<white_space>";
    else if (type >= TOK_COMMENT_LINE && type <= TOK_COMMENT_TEXT)
        text = comment_texts[type - TOK_COMMENT_LINE];
    else if (type >= TOK_WC_FIRST && type <= TOK_WC_LAST)
        text = wildcard_texts[type - TOK_WC_FIRST];
    else if (type == TOK_MACRO_HASH)
        text = "#";
    else if (type == TOK_MACRO_HASH_HASH)
        text = "##";
    return text ? text : "";
}

bool type_text_varies(int type)
{
    switch (type) {
    case TOK_ASM: case TOK_BOOL: case TOK_BOOL_VAL: case TOK_CHAR_VAL: case TOK_CONST:
    case TOK_FLT_VAL: case TOK_ID: case TOK_INLINE: case TOK_INT_VAL: case TOK_RESTRICT:
    case TOK_SIGNED: case TOK_STRING_VAL: case TOK_TYPEOF: case TOK_VOLATILE: case TOK_WCHAR_T:
    case TOK_CDECL: case TOK_STDCALL: case TOK_FASTCALL: case TOK_IF_EXISTS: case TOK_IF_NOT_EXISTS:
    case TOK_WHITESPACE: case TOK_COMMENT_TEXT:
        return true;
    default:
        return false;
    }
}

int clamp_type(int type)
{
    if (type >= TOK_WARNING && type <= 141)
        return type;
    if (type == TOK_WHITESPACE || (type >= TOK_COMMENT_LINE && type <= TOK_COMMENT_TEXT) ||
        type == TOK_MACRO_HASH || type == TOK_MACRO_HASH_HASH)
        return type;
    return TOK_NONE;
}

} // namespace Lex
