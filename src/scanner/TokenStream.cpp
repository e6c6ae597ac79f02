#include "scanner/TokenStream.h"

namespace Lex {

Token* UnitTokenSrc::next()
{
    if (at_start) {
        at_start = false;
        current = unit->first();
    } else if (current) {
        current = current->next();
    }
    return current;
}

TokenStream::~TokenStream()
{
    for (int i = 0; i < count(); ++i)
        delete (*this)[i];
}

void TokenStream::push(Unit* u)
{
    if (u)
        append(new UnitTokenSrc(*u));
}

Token* TokenStream::next()
{
    while (count() > 0) {
        if (Token* t = last()->next())
            return t;
        delete last();
        remove_last();
    }
    return nullptr;
}

Unit* TokenStream::top() const
{
    return count() > 0 ? (*this)[count() - 1]->unit : nullptr;
}

} // namespace Lex
