#include "scanner/TokenIterator.h"

#include <cstring>

namespace Lex {

TokenIterator::TokenIterator(Token* first, Token* last_) : current(first), last(last_), done(false)
{
    if (first && last_ && first->list() != last_->list())
        current = nullptr;
}

void TokenIterator::DeleteLast()
{
    if (Token* t = GetLast())
        t->delete_token();
}

std::string TokenIterator::TokenListToString(Token* first, Token* last)
{
    std::string text;
    TokenIterator it(first, last);
    while (Token* t = it.Next())
        if (char const* s = t->text->text)
            text += s;
    return text;
}

void CTokenVisitor::Visit(Token& start)
{
    iter = new TokenIterator(&start, nullptr);
    while (Token* t = iter->Next())
        VisitToken(*t);
    delete iter;
    iter = nullptr;
}

void CTokenVisitor::VisitToken(Token& t)
{
    if (t.language == Token::pre_id)
        OnPreParser(t);
    else if (t.flags & Token::comment_flag)
        OnComment(t);
    if (t.language == Token::white_id && std::strchr(t.text->text, '\n'))
        OnLineBreak(t);
}

} // namespace Lex
