#include "output/TrailingTokens.h"

#include "scanner/Token.h"

#include <cstring>

namespace TrailingTokens {

using Lex::Token;

bool IsBlank(Token const& t)
{
    return t.type == Lex::TOK_WHITESPACE || t.language == Token::white_id || (t.flags & Token::comment_flag);
}

bool IsWritten(Token const& t)
{
    return !t.condition || *t.condition;
}

bool Is(Token const* t, char const* text)
{
    return t && std::strcmp(t->text->text, text) == 0;
}

bool HasLineBreak(Token const& t)
{
    return std::strchr(t.text->text, '\n') != nullptr;
}

bool IsDirective(Token const& t)
{
    return !IsBlank(t) && (t.language == Token::pre_id || t.language == Token::dir_id);
}

Token* Significant(Token* t)
{
    while (t && (IsBlank(*t) || !IsWritten(*t)))
        t = t->next();
    return t;
}

Token* SignificantAfter(Token* t)
{
    return t ? Significant(t->next()) : nullptr;
}

bool IsOpen(Token const& t)
{
    return t.type == Lex::TOK_OPEN_ROUND || t.type == Lex::TOK_OPEN_SQUARE || t.type == Lex::TOK_OPEN_CURLY;
}

bool IsClose(Token const& t)
{
    return t.type == Lex::TOK_CLOSE_ROUND || t.type == Lex::TOK_CLOSE_SQUARE || t.type == Lex::TOK_CLOSE_CURLY;
}

bool IsLiteral(Token const& t)
{
    switch (t.type) {
    case Lex::TOK_INT_VAL:
    case Lex::TOK_ZERO_VAL:
    case Lex::TOK_FLT_VAL:
    case Lex::TOK_STRING_VAL:
    case Lex::TOK_CHAR_VAL:
    case Lex::TOK_BOOL_VAL:
        return true;
    default:
        return false;
    }
}

Token* Matching(Token* open, Token* last)
{
    int depth = 0;
    for (Token* t = open; t; t = t == last ? nullptr : t->next()) {
        if (!IsWritten(*t) || IsBlank(*t))
            continue;
        if (IsOpen(*t))
            ++depth;
        else if (IsClose(*t) && --depth == 0)
            return t;
    }
    return nullptr;
}

std::vector<Token*> TopWords(Token* first, Token* last)
{
    std::vector<Token*> words;
    int depth = 0;
    for (Token* t = first; t; t = t == last ? nullptr : t->next()) {
        if (IsBlank(*t) || !IsWritten(*t))
            continue;
        if (depth == 0)
            words.push_back(t);
        if (IsOpen(*t))
            ++depth;
        else if (IsClose(*t) && depth > 0)
            --depth;
    }
    return words;
}

Str TextOf(Token* first, Token* last)
{
    Str text;
    for (Token* t = first; t; t = t == last ? nullptr : t->next()) {
        if (!IsWritten(*t))
            continue;
        if (t->flags & Token::comment_flag)
            text += HasLineBreak(*t) ? "\n" : " ";
        else
            text += t->text->text;
    }
    size_t n = text.GetLength();
    char const* s = text.GetBuffer();
    while (n > 0 && std::strchr(" \t\r\n", s[n - 1]))
        --n;
    return text.Left(n);
}

int Find(std::vector<Token*> const& words, char const* text, size_t from, size_t to)
{
    for (size_t i = from; i < words.size() && i < to; ++i)
        if (Is(words[i], text))
            return static_cast<int>(i);
    return -1;
}

Token* TemplateListEnd(Token* less)
{
    int depth = 0;
    for (Token* t = less; t; t = t->next()) {
        if (IsBlank(*t) || !IsWritten(*t))
            continue;
        if (t->type == Lex::TOK_OPEN_ROUND) {
            t = Matching(t, nullptr);
            if (!t)
                return nullptr;
        } else if (t->type == Lex::TOK_LESS) {
            ++depth;
        } else if (t->type == Lex::TOK_GREATER || t->type == Lex::TOK_RSH) {
            depth -= t->type == Lex::TOK_RSH ? 2 : 1;
            if (depth <= 0)
                return t;
        }
    }
    return nullptr;
}

} // namespace TrailingTokens
