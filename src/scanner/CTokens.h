// Token type numbers shared by the scanner, the parser and the code writers,
// with their fixed texts and the rules that keep a stored type valid.
#pragma once

namespace Lex {

enum CTokens : int {
    TOK_WARNING = -4,       // scan warning (stays in a unit)
    TOK_ERROR = -3,         // scan error
    TOK_UNKNOWN = -2,       // unknown character (stays in a unit)
    TOK_EOF = -1,           // end of input
    TOK_NONE = 0,

    TOK_PLUS_ASSIGN = 1,    // +=
    TOK_AND = 2,            // &    bitand
    TOK_AND_AND = 3,        // &&   and
    TOK_AND_ASSIGN = 4,     // &=   and_eq
    TOK_ASM = 5,
    TOK_ASSIGN = 6,         // =
    TOK_AT = 7,             // @
    TOK_AUTO = 8,
    TOK_BOOL = 9,
    TOK_BOOL_VAL = 10,      // true, false
    TOK_BREAK = 11,
    TOK_CASE = 12,
    TOK_CATCH = 13,
    TOK_CHAR = 14,
    TOK_CHAR_VAL = 15,      // character literal
    TOK_CLASS = 16,
    TOK_CLOSE_CURLY = 17,   // }
    TOK_CLOSE_ROUND = 18,   // )
    TOK_CLOSE_SQUARE = 19,  // ]
    TOK_COLON = 20,         // :
    TOK_COLON_COLON = 21,   // ::
    TOK_COMMA = 22,         // ,
    TOK_CONST = 23,
    TOK_CONST_CAST = 24,
    TOK_CONTINUE = 25,
    TOK_DECR = 26,          // --
    TOK_DEFAULT = 27,
    TOK_DELETE = 28,
    TOK_DIV = 29,           // /
    TOK_DIV_ASSIGN = 30,    // /=
    TOK_DO = 31,
    TOK_DOT = 32,           // .
    TOK_DOT_STAR = 33,      // .*
    TOK_DOUBLE = 34,
    TOK_DYNAMIC_CAST = 35,
    TOK_ELLIPSIS = 36,      // ...
    TOK_ELSE = 37,
    TOK_ENUM = 38,
    TOK_EQ = 39,            // ==
    TOK_EXPLICIT = 40,
    TOK_EXPORT = 41,
    TOK_EXTERN = 42,
    TOK_FLOAT = 43,
    TOK_FLT_VAL = 44,       // floating literal
    TOK_FOR = 45,
    TOK_FRIEND = 46,
    TOK_GEQ = 47,           // >=
    TOK_GOTO = 48,
    TOK_GREATER = 49,       // >
    TOK_ID = 50,            // identifier
    TOK_IF = 51,
    TOK_INCR = 52,          // ++
    TOK_INLINE = 53,
    TOK_INT = 54,
    TOK_INT_VAL = 55,       // integer literal
    TOK_OR_ASSIGN = 56,     // |=   or_eq
    TOK_LEQ = 57,           // <=
    TOK_LESS = 58,          // <
    TOK_LONG = 59,
    TOK_LSH = 60,           // <<
    TOK_LSH_ASSIGN = 61,    // <<=
    TOK_MINUS = 62,         // -
    TOK_MODULO = 63,        // %
    TOK_MOD_ASSIGN = 64,    // %=
    TOK_MUL = 65,           // *
    TOK_MUL_ASSIGN = 66,    // *=
    TOK_MUTABLE = 67,
    TOK_NAMESPACE = 68,
    TOK_NEQ = 69,           // !=   not_eq
    TOK_NEW = 70,
    TOK_NOT = 71,           // !    not
    TOK_OPEN_CURLY = 72,    // {
    TOK_OPEN_ROUND = 73,    // (
    TOK_OPEN_SQUARE = 74,   // [
    TOK_OPERATOR = 75,
    TOK_OR = 76,            // |    bitor
    TOK_OR_OR = 77,         // ||   or
    TOK_PLUS = 78,          // +
    TOK_PRIVATE = 79,
    TOK_PROTECTED = 80,
    TOK_PTS = 81,           // ->
    TOK_PTS_STAR = 82,      // ->*
    TOK_PUBLIC = 83,
    TOK_QUESTION = 84,      // ?
    TOK_REGISTER = 85,
    TOK_REINTERPRET_CAST = 86,
    TOK_RESTRICT = 87,
    TOK_RETURN = 88,
    TOK_XOR = 89,           // ^    xor
    TOK_RSH = 90,           // >>
    TOK_RSH_ASSIGN = 91,    // >>=
    TOK_SEMI_COLON = 92,    // ;
    TOK_SHORT = 93,
    TOK_SIGNED = 94,
    TOK_SIZEOF = 95,
    TOK_STATIC = 96,
    TOK_STATIC_CAST = 97,
    TOK_STRING_VAL = 98,    // string literal; also free text inserted by the code model
    TOK_STRUCT = 99,
    TOK_MINUS_ASSIGN = 100, // -=
    TOK_SWITCH = 101,
    TOK_TEMPLATE = 102,
    TOK_THIS = 103,
    TOK_THROW = 104,        // throw, throws
    TOK_TILDE = 105,        // ~    compl
    TOK_TRY = 106,
    TOK_TYPEDEF = 107,
    TOK_TYPEID = 108,
    TOK_TYPENAME = 109,
    TOK_TYPEOF = 110,
    TOK_UNION = 111,
    TOK_UNSIGNED = 112,
    TOK_USING = 113,
    TOK_VIRTUAL = 114,
    TOK_VOID = 115,
    TOK_VOLATILE = 116,
    TOK_WCHAR_T = 117,
    TOK_WHILE = 118,
    TOK_XOR_ASSIGN = 119,   // ^=   xor_eq
    TOK_ZERO_VAL = 120,     // the literal 0 standing alone
    TOK_CDECL = 121,
    TOK_STDCALL = 122,
    TOK_FASTCALL = 123,
    TOK_INT64 = 124,
    TOK_IF_EXISTS = 125,
    TOK_IF_NOT_EXISTS = 126,
    TOK_ADVICE = 127,
    TOK_ASPECT = 128,
    TOK_POINTCUT = 129,
    TOK_UNKNOWN_T = 130,
    TOK_REFINES = 131,
    TOK_LAYER = 132,
    TOK_SUPER = 133,
    TOK_OVERRIDE = 134,
    TOK_MIXIN = 135,
    TOK_EXTENDS = 136,
    TOK_IMPLEMENTS = 137,
    TOK_INTERFACE = 138,
    TOK_IMPORT = 139,

    TOK_WHITESPACE = 200,
    TOK_COMMENT_LINE = 256,  // //
    TOK_COMMENT_BEGIN = 257, // /*
    TOK_COMMENT_END = 258,   // */
    TOK_COMMENT_TEXT = 259,

    // Wildcard words "\and" .. "\is-typedef"; a token made with one of them
    // stores TOK_NONE but keeps the word as its text.
    TOK_WC_FIRST = 300,
    TOK_WC_LAST = 358,

    TOK_MACRO_HASH = 500,      // # on a preprocessor line
    TOK_MACRO_HASH_HASH = 501, // ## on a preprocessor line
};

// Numbers of preprocessor directive words (tokens tagged Token::pre_id).
enum PreTokens : int {
    PRE_ASSERT = 1,
    PRE_DEFINE = 3,
    PRE_ELIF = 5,
    PRE_ELSE = 6,
    PRE_ENDIF = 7,
    PRE_ERROR = 8,
    PRE_IF = 10,
    PRE_IFDEF = 11,
    PRE_IFNDEF = 12,
    PRE_INCLUDE = 13, // also #import
    PRE_INCLUDE_NEXT = 14,
    PRE_UNASSERT = 20,
    PRE_UNDEF = 21,
    PRE_WARNING = 22,
};

// Numbers of the directive automaton's words (tokens tagged Token::dir_id).
enum DirTokens : int {
    DIR_HASH = 0, // a lone #
    DIR_PRAGMA = 1,
    DIR_LINE = 2,
    DIR_IDENT = 3,
};

// The fixed text of a type number; "" for numbers without one.
char const* static_text(int type);

// True for the numbers whose tokens keep the text they were made from.
bool type_text_varies(int type);

// The number a token stores: -4..141, 200, 256..259, 500 and 501 are kept,
// every other number becomes TOK_NONE.
int clamp_type(int type);

} // namespace Lex
