#include "scanner/KeywordRecognizer.h"

#include "scanner/AutomatonBuilder.h"
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
    {"__asm", 5}, {"__asm__", 5}, {"asm", 5},
    {"auto", 8},
    {"_Bool", 9},
    {"break", 11},
    {"case", 12},
    {"char", 14},
    {"__const", 23}, {"__const__", 23}, {"const", 23},
    {"continue", 25},
    {"default", 27},
    {"do", 31},
    {"double", 34},
    {"else", 37},
    {"enum", 38},
    {"extern", 42},
    {"float", 43},
    {"for", 45},
    {"goto", 48},
    {"if", 51},
    {"__inline", 53}, {"__inline__", 53}, {"inline", 53},
    {"int", 54},
    {"long", 59},
    {"register", 85},
    {"__restrict", 87}, {"__restrict__", 87}, {"restrict", 87},
    {"return", 88},
    {"short", 93},
    {"__signed", 94}, {"__signed__", 94}, {"signed", 94},
    {"sizeof", 95},
    {"static", 96},
    {"struct", 99},
    {"switch", 101},
    {"typedef", 107},
    {"__typeof", 110}, {"__typeof__", 110}, {"typeof", 110},
    {"union", 111},
    {"unsigned", 112},
    {"void", 115},
    {"__volatile", 116}, {"__volatile__", 116}, {"volatile", 116},
    {"__wchar_t", 117}, {"wchar_t", 117},
    {"while", 118},
    {"__cdecl", 121}, {"_cdecl", 121},
    {"__stdcall", 122}, {"_stdcall", 122},
    {"__fastcall", 123}, {"_fastcall", 123},
    {"__int64", 124},
    {"__if_exists", 125},
    {"__if_not_exists", 126},
};

// The alternative spellings of operators give the operator's type.
Keyword const cpp_keywords[] = {
    {"bitand", 2},   // &
    {"and", 3},      // &&
    {"and_eq", 4},   // &=
    {"bool", 9},
    {"false", 10}, {"true", 10},
    {"catch", 13},
    {"class", 16},
    {"const_cast", 24},
    {"delete", 28},
    {"dynamic_cast", 35},
    {"explicit", 40},
    {"export", 41},
    {"friend", 46},
    {"or_eq", 56},   // |=
    {"mutable", 67},
    {"namespace", 68},
    {"not_eq", 69},  // !=
    {"new", 70},
    {"not", 71},     // !
    {"operator", 75},
    {"bitor", 76},   // |
    {"or", 77},      // ||
    {"private", 79},
    {"protected", 80},
    {"public", 83},
    {"reinterpret_cast", 86},
    {"xor", 89},     // ^
    {"static_cast", 97},
    {"template", 102},
    {"this", 103},
    {"throw", 104},
    {"compl", 105},  // ~
    {"try", 106},
    {"typeid", 108},
    {"typename", 109},
    {"using", 113},
    {"virtual", 114},
    {"xor_eq", 119}, // ^=
};

Keyword const fop_keywords[] = {
    {"throws", 104}, // the type of "throw"
    {"refines", 131},
    {"layer", 132},
    {"super", 133},
    {"override", 134},
    {"mixin", 135},
    {"extends", 136},
    {"implements", 137},
    {"interface", 138},
    {"import", 139},
};

Keyword const aspect_keywords[] = {
    {"advice", 127},
    {"aspect", 128},
    {"pointcut", 129},
    {"__unknown_t", 130},
};

} // namespace

TableRecognizer const CKeywordRecognizer::keyword_recognizer = keywords(c_keywords);
TableRecognizer const CCKeywordRecognizer::keyword_recognizer = keywords(cpp_keywords);
TableRecognizer const FOPKeywordRecognizer::keyword_recognizer = keywords(fop_keywords);
TableRecognizer const AspectKeywordRecognizer::keyword_recognizer = keywords(aspect_keywords);

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
