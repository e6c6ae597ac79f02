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

AccessTypes ConvertCTokenToAccessType(int type)
{
    switch (type) {
    case Lex::TOK_PRIVATE:
        return ACCESS_PRIVATE;
    case Lex::TOK_PROTECTED:
        return ACCESS_PROTECTED;
    case Lex::TOK_PUBLIC:
        return ACCESS_PUBLIC;
    case Lex::TOK_MIXIN:
        return ACCESS_MIXIN;
    default:
        return ACCESS_NONE;
    }
}
