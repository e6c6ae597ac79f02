// Splits a text into tokens, either at one separator character (every
// separator ends a token, so adjacent ones give an empty token; one leading
// and one trailing separator give none) or at any character of a separator
// set (runs count as one, no token is empty).
#pragma once

#include "base/Str.h"

class StringTokenizer {
public:
    StringTokenizer(Str const& text, char separator);
    StringTokenizer(Str const& text, Str const& separators);

    // Copies the text and finds the first token.
    void SetString(Str const& text);
    bool HasMoreTokens() const { return m_Start != -1; }
    // The next token (empty when none is left), then advances.
    Str GetNextToken();
    // The next token as a pointer into the tokenizer's own copy of the text
    // and its length, then advances; false when none is left.
    bool GetNextToken(char*& token, int& length);
    // The text from the next token to the end; does not advance.
    Str GetRemainingString() const;

    // Sets start and end for the token searched from position pos.
    void FindToken(long pos);
    // Moves past the current token.
    void FindNextToken();

private:
    bool IsSeparator(char c) const;
    // Index of the next separator at or after pos, or -1.
    long NextSeparator(long pos);

    Str m_Text;
    Str m_Separators;
    char m_LastSep;
    char m_PrevSep;
    char m_Sep;
    long m_Start;
    long m_End;
    long m_Length;
    bool m_bSetMode;
};
