#include "parser/NodeInitDecl.h"

#include "parser/NodeFuncDef.h"
#include "scanner/List.h"

#include <cstring>

namespace {

bool IsBlank(Lex::Token const* t)
{
    return t->language == Lex::Token::white_id || t->language == Lex::Token::comment_id;
}

// Nesting of one initializer entry: round and curly brackets, and angle
// brackets outside them (where `<` can only open template arguments).
struct Depth {
    int brackets = 0;
    int angles = 0;

    bool Outside() const { return brackets == 0 && angles == 0; }
    void Step(Lex::Token const* t)
    {
        switch (t->type) {
        case Lex::TOK_OPEN_ROUND:
        case Lex::TOK_OPEN_CURLY:
            ++brackets;
            break;
        case Lex::TOK_CLOSE_ROUND:
        case Lex::TOK_CLOSE_CURLY:
            if (brackets > 0)
                --brackets;
            break;
        case Lex::TOK_LESS:
            if (brackets == 0)
                ++angles;
            break;
        case Lex::TOK_GREATER:
            if (brackets == 0 && angles > 0)
                --angles;
            break;
        case Lex::TOK_RSH:
            if (brackets == 0)
                angles = angles > 2 ? angles - 2 : 0;
            break;
        default:
            break;
        }
    }
};

bool InRange(Lex::Token* t, Lex::Token* first, Lex::Token* last)
{
    for (Lex::Token* p = first; p; p = p->next()) {
        if (p == t)
            return true;
        if (p == last)
            break;
    }
    return false;
}

} // namespace

NodeInitDecl::NodeInitDecl(Lex::Token* colon) : Node(NT_INIT_DECL), FirstAndLastToken(colon, nullptr), m_pFunc(nullptr) {}

void NodeInitDecl::Func(NodeFuncDef* def)
{
    m_pFunc = def;
    m_pParent = def;
}

void NodeInitDecl::CopyInitializerTokens(NodeInitDecl* source, Lex::Token* after)
{
    if (!source || !after || !after->list() || !source->IsValidRange())
        return;
    Lex::Token* first = source->GetFirstToken();
    Lex::Token* last = source->GetLastToken();
    // Tokens that already end right at `after` stay where they are.
    if (!InRange(after, first, last)) {
        Lex::List moved;
        first->list()->cut(moved, first, last);
        after->list()->move(*after, moved);
    }
    if (!m_pFirstToken)
        m_pFirstToken = first;
    if (!m_pLastToken || after == m_pLastToken)
        m_pLastToken = last;
}

void NodeInitDecl::AddInitializer(NodeInitDecl* other)
{
    if (!other || other == this || !IsValidRange() || !other->IsValidRange())
        return;
    Lex::Token* colon = m_pFirstToken;
    Lex::Token* otherColon = other->GetFirstToken();
    if (colon->type != Lex::TOK_COLON || otherColon->type != Lex::TOK_COLON)
        return;
    colon->AddTokenAfter(*new Lex::Token(Lex::TOK_COMMA, Lex::Token::cpp_id, ","));
    CopyInitializerTokens(other, colon);
    otherColon->delete_token();
}

void NodeInitDecl::RemoveInitializers(char const* name)
{
    if (!IsValidRange())
        return;
    if (!name)
        name = "";

    // Find the entry: a match counts only as the first significant token
    // after the `:` or after a `,` between entries.
    Lex::Token* preceding = nullptr;
    Lex::Token* match = nullptr;
    bool entryStart = false;
    Depth depth;
    for (Lex::Token* t = m_pFirstToken; t && !match; t = t->next()) {
        bool const end = t == m_pLastToken;
        if (!IsBlank(t)) {
            if (entryStart && strcmp(t->text->text, name) == 0) {
                match = t;
                break;
            }
            entryStart = (t == m_pFirstToken || t->type == Lex::TOK_COMMA) && depth.Outside();
            depth.Step(t);
            preceding = t;
        }
        if (end)
            break;
    }
    if (!match || !preceding)
        return;

    // The entry runs to the `,` that ends it, which goes with it; the last
    // entry takes the separator in front of it instead.
    Lex::Token* from = match;
    Lex::Token* to = nullptr;
    depth = Depth();
    for (Lex::Token* t = match; t; t = t->next()) {
        if (t->type == Lex::TOK_COMMA && depth.Outside()) {
            to = t;
            break;
        }
        depth.Step(t);
        if (t == m_pLastToken)
            break;
    }
    if (!to) {
        from = preceding;
        to = m_pLastToken;
    }

    if (from == m_pFirstToken && to == m_pLastToken) {
        if (m_pFunc)
            m_pFunc->DeleteInitializer();
        return;
    }
    if (to == m_pLastToken)
        m_pLastToken = from->prev();
    for (Lex::Token* t = from; t;) {
        Lex::Token* next = t->next();
        bool const done = t == to;
        t->delete_token();
        if (done)
            break;
        t = next;
    }
}
