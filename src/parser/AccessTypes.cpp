#include "parser/AccessTypes.h"

Lex::CTokens ConvertAccessTypeToCToken(AccessTypes access)
{
    switch (access) {
    case ACCESS_PRIVATE:
        return Lex::TOK_PRIVATE;
    case ACCESS_PROTECTED:
        return Lex::TOK_PROTECTED;
    case ACCESS_MIXIN:
        return Lex::TOK_MIXIN;
    default:
        return Lex::TOK_PUBLIC;
    }
}

char const* ConvertAccessTypeToString(AccessTypes access)
{
    switch (access) {
    case ACCESS_PRIVATE:
        return "private";
    case ACCESS_PROTECTED:
        return "protected";
    case ACCESS_MIXIN:
        return "mixin";
    default:
        return "public";
    }
}
