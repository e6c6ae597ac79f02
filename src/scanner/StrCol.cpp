#include "scanner/StrCol.h"

#include "scanner/Token.h"
#include "scanner/Unit.h"

#include <cstring>

namespace Lex {

char* StrCol::dup(char const* s)
{
    if (!s)
        return nullptr;
    return dup(s, int(std::strlen(s)));
}

char* StrCol::dup(char const* s, int len)
{
    if (len < 0)
        len = 0;
    char* copy = new char[size_t(len) + 1];
    int n = 0;
    if (s)
        while (n < len && s[n] != '\0') {
            copy[n] = s[n];
            ++n;
        }
    copy[n] = '\0';
    return copy;
}

bool StrCol::isSpace(char c)
{
    switch (c) {
    case ' ': case '\n': case '\t': case '\f': case '\v': case '\b': case '\r':
        return true;
    default:
        return false;
    }
}

bool StrCol::onlySpaces(char const* s)
{
    if (!s)
        return false;
    for (; *s; ++s)
        if (!isSpace(*s))
            return false;
    return true;
}

bool StrCol::effectivelyDifferent(char const* a, char const* b)
{
    if (!a || !b)
        return true;
    while (isSpace(*a))
        ++a;
    while (isSpace(*b))
        ++b;
    while (*a && *b) {
        if (isSpace(*a) || isSpace(*b)) {
            if (!isSpace(*a) || !isSpace(*b))
                return true;
            while (isSpace(*a))
                ++a;
            while (isSpace(*b))
                ++b;
            continue;
        }
        if (*a != *b)
            return true;
        ++a;
        ++b;
    }
    // Whatever remains on either side must be trailing white space.
    return !onlySpaces(a) || !onlySpaces(b);
}

char* StrCol::buildString(Unit* u)
{
    if (!u)
        return nullptr;
    size_t length = 0;
    for (Token* t = u->first(); t; t = t->next())
        length += t->text->length;
    char* result = new char[length + 1];
    char* out = result;
    for (Token* t = u->first(); t; t = t->next()) {
        std::memcpy(out, t->text->text, t->text->length);
        out += t->text->length;
    }
    *out = '\0';
    return result;
}

} // namespace Lex
