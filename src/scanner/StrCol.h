// Small string helpers of the scanner layer. Copies are made with new[].
#pragma once

namespace Lex {

class Unit;

class StrCol {
public:
    // A copy of s; null for null.
    static char* dup(char const* s);
    // A buffer of len+1 bytes holding at most len bytes of s, NUL-terminated.
    static char* dup(char const* s, int len);
    // Blank, newline, tab, form feed, vertical tab, backspace, carriage return.
    static bool isSpace(char c);
    // False for null; true when every character is a space (so for "").
    static bool onlySpaces(char const* s);
    // True when either is null or the texts differ once leading and trailing
    // white space is dropped and every run of white space counts as one.
    static bool effectivelyDifferent(char const* a, char const* b);
    // The texts of all tokens of u joined in order; null for null.
    static char* buildString(Unit* u);
};

} // namespace Lex
