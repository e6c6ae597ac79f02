// Recognizers of the four keyword sets: C, C++, feature-oriented and aspect.
// Each accepts one word of its set when a word boundary follows it.
#pragma once

#include "scanner/TableRecognizer.h"

namespace Lex {

class ScanBuffer;

// Shared run of a keyword automaton. Returns 1 with the keyword's token type
// and length, 0 when no word of the set stands here, -1 on a buffer error.
// The buffer's length is left at the end of the word.
int recognize_keyword(TableRecognizer const& automaton, ScanBuffer* b, int& type, int& len);

// True for the bytes that continue a word: A-Z, a-z, 0-9 and '_'.
inline bool is_word_byte(int c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

class CKeywordRecognizer {
public:
    static TableRecognizer const& keyword_recognizer();
    int recognize(ScanBuffer* b, int& type, int& len) const
    {
        return recognize_keyword(keyword_recognizer(), b, type, len);
    }
};

class CCKeywordRecognizer {
public:
    static TableRecognizer const& keyword_recognizer();
    int recognize(ScanBuffer* b, int& type, int& len) const
    {
        return recognize_keyword(keyword_recognizer(), b, type, len);
    }
};

class FOPKeywordRecognizer {
public:
    static TableRecognizer const& keyword_recognizer();
    int recognize(ScanBuffer* b, int& type, int& len) const
    {
        return recognize_keyword(keyword_recognizer(), b, type, len);
    }
};

class AspectKeywordRecognizer {
public:
    static TableRecognizer const& keyword_recognizer();
    int recognize(ScanBuffer* b, int& type, int& len) const
    {
        return recognize_keyword(keyword_recognizer(), b, type, len);
    }
};

} // namespace Lex
