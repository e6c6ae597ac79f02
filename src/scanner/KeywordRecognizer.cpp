#include "scanner/KeywordRecognizer.h"

#include "scanner/AutomatonBuilder.h"
#include "scanner/CTokens.h"
#include "scanner/ScanBuffer.h"

namespace Lex {

namespace {

// A keyword and the token type it gives. Several spellings may share a type;
// the type's fixed text then stands for all of them.
struct Keyword {
    char const* word;
    int type;
};

template <size_t N>
TableRecognizer keywords(Keyword const (&list)[N])
{
    AutomatonBuilder builder;
    for (Keyword const& k : list)
        builder.word(k.word, k.type);
    return builder.build();
}

Keyword const c_keywords[] = {
    {"__asm", TOK_ASM}, {"__asm__", TOK_ASM}, {"asm", TOK_ASM},
    {"auto", TOK_AUTO},
    {"_Bool", TOK_BOOL},
    {"break", TOK_BREAK},
    {"case", TOK_CASE},
    {"char", TOK_CHAR},
    {"__const", TOK_CONST}, {"__const__", TOK_CONST}, {"const", TOK_CONST},
    {"continue", TOK_CONTINUE},
    {"default", TOK_DEFAULT},
    {"do", TOK_DO},
    {"double", TOK_DOUBLE},
    {"else", TOK_ELSE},
    {"enum", TOK_ENUM},
    {"extern", TOK_EXTERN},
    {"float", TOK_FLOAT},
    {"for", TOK_FOR},
    {"goto", TOK_GOTO},
    {"if", TOK_IF},
    {"__inline", TOK_INLINE}, {"__inline__", TOK_INLINE}, {"inline", TOK_INLINE},
    {"int", TOK_INT},
    {"long", TOK_LONG},
    {"register", TOK_REGISTER},
    {"__restrict", TOK_RESTRICT}, {"__restrict__", TOK_RESTRICT}, {"restrict", TOK_RESTRICT},
    {"return", TOK_RETURN},
    {"short", TOK_SHORT},
    {"__signed", TOK_SIGNED}, {"__signed__", TOK_SIGNED}, {"signed", TOK_SIGNED},
    {"sizeof", TOK_SIZEOF},
    {"static", TOK_STATIC},
    {"struct", TOK_STRUCT},
    {"switch", TOK_SWITCH},
    {"typedef", TOK_TYPEDEF},
    {"__typeof", TOK_TYPEOF}, {"__typeof__", TOK_TYPEOF}, {"typeof", TOK_TYPEOF},
    {"union", TOK_UNION},
    {"unsigned", TOK_UNSIGNED},
    {"void", TOK_VOID},
    {"__volatile", TOK_VOLATILE}, {"__volatile__", TOK_VOLATILE}, {"volatile", TOK_VOLATILE},
    {"__wchar_t", TOK_WCHAR_T}, {"wchar_t", TOK_WCHAR_T},
    {"while", TOK_WHILE},
    {"__cdecl", TOK_CDECL}, {"_cdecl", TOK_CDECL},
    {"__stdcall", TOK_STDCALL}, {"_stdcall", TOK_STDCALL},
    {"__fastcall", TOK_FASTCALL}, {"_fastcall", TOK_FASTCALL},
    {"__int64", TOK_INT64},
    {"__if_exists", TOK_IF_EXISTS},
    {"__if_not_exists", TOK_IF_NOT_EXISTS},
};

// The alternative spellings of operators give the operator's type.
Keyword const cpp_keywords[] = {
    {"bitand", TOK_AND},   // &
    {"and", TOK_AND_AND},      // &&
    {"and_eq", TOK_AND_ASSIGN},   // &=
    {"bool", TOK_BOOL},
    {"false", TOK_BOOL_VAL}, {"true", TOK_BOOL_VAL},
    {"catch", TOK_CATCH},
    {"class", TOK_CLASS},
    {"const_cast", TOK_CONST_CAST},
    {"delete", TOK_DELETE},
    {"dynamic_cast", TOK_DYNAMIC_CAST},
    {"explicit", TOK_EXPLICIT},
    {"export", TOK_EXPORT},
    {"friend", TOK_FRIEND},
    {"or_eq", TOK_OR_ASSIGN},   // |=
    {"mutable", TOK_MUTABLE},
    {"namespace", TOK_NAMESPACE},
    {"not_eq", TOK_NEQ},  // !=
    {"new", TOK_NEW},
    {"not", TOK_NOT},     // !
    {"operator", TOK_OPERATOR},
    {"bitor", TOK_OR},   // |
    {"or", TOK_OR_OR},      // ||
    {"private", TOK_PRIVATE},
    {"protected", TOK_PROTECTED},
    {"public", TOK_PUBLIC},
    {"reinterpret_cast", TOK_REINTERPRET_CAST},
    {"xor", TOK_XOR},     // ^
    {"static_cast", TOK_STATIC_CAST},
    {"template", TOK_TEMPLATE},
    {"this", TOK_THIS},
    {"throw", TOK_THROW},
    {"compl", TOK_TILDE},  // ~
    {"try", TOK_TRY},
    {"typeid", TOK_TYPEID},
    {"typename", TOK_TYPENAME},
    {"using", TOK_USING},
    {"virtual", TOK_VIRTUAL},
    {"xor_eq", TOK_XOR_ASSIGN}, // ^=
};

Keyword const fop_keywords[] = {
    {"throws", TOK_THROW}, // the type of "throw"
    {"refines", TOK_REFINES},
    {"layer", TOK_LAYER},
    {"super", TOK_SUPER},
    {"override", TOK_OVERRIDE},
    {"mixin", TOK_MIXIN},
    {"extends", TOK_EXTENDS},
    {"implements", TOK_IMPLEMENTS},
    {"interface", TOK_INTERFACE},
    {"import", TOK_IMPORT},
};

Keyword const aspect_keywords[] = {
    {"advice", TOK_ADVICE},
    {"aspect", TOK_ASPECT},
    {"pointcut", TOK_POINTCUT},
    {"__unknown_t", TOK_UNKNOWN_T},
};

TableRecognizer c_keyword_table() { return keywords(c_keywords); }
TableRecognizer cpp_keyword_table() { return keywords(cpp_keywords); }
TableRecognizer fop_keyword_table() { return keywords(fop_keywords); }
TableRecognizer aspect_keyword_table() { return keywords(aspect_keywords); }

} // namespace

TableRecognizer const& CKeywordRecognizer::keyword_recognizer()
{
    return built_once<c_keyword_table>();
}
TableRecognizer const& CCKeywordRecognizer::keyword_recognizer()
{
    return built_once<cpp_keyword_table>();
}
TableRecognizer const& FOPKeywordRecognizer::keyword_recognizer()
{
    return built_once<fop_keyword_table>();
}
TableRecognizer const& AspectKeywordRecognizer::keyword_recognizer()
{
    return built_once<aspect_keyword_table>();
}

int recognize_keyword(TableRecognizer const& automaton, ScanBuffer* b, int& type, int& len)
{
    int expr = 0;
    int result = automaton.recognize(b, expr, len);
    if (result != 1)
        return result;
    type = automaton.type_of(expr);
    b->more(len);
    if (b->state() != ScanBuffer::has_more)
        return 1;
    // "int(" is a keyword, "int64" is not; bytes above 127 end a word.
    int following = b->next();
    b->more(len);
    return is_word_byte(following) ? 0 : 1;
}

} // namespace Lex
