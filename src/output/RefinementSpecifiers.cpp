#include "output/RefinementSpecifiers.h"

#include "output/BaseTransform.h"
#include "output/FuncHeadTokens.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeType.h"
#include "scanner/Token.h"

#include <cstring>

namespace {

using Tokens = FuncHeadTokens;

bool IsWhite(Lex::Token const& t) { return t.language == Lex::Token::white_id; }

bool IsOverrideToken(Lex::Token& t) { return t.type == Lex::TOK_OVERRIDE || Tokens::TextIs(t, "override"); }

bool IsFinalToken(Lex::Token& t) { return Tokens::TextIs(t, "final"); }

bool IsNoexceptToken(Lex::Token& t) { return Tokens::TextIs(t, "noexcept"); }

// The specifier word in front of a declaration's head; null without it.
Lex::Token* SpecifierBefore(NodeFuncDecl& decl, char const* word)
{
    static char const* const specifiers[] = {"virtual", "explicit", "inline", "constexpr", "static", "__forceinline"};
    Lex::Token* start = Tokens::HeadStart(decl);
    for (Lex::Token* p = start ? start->prev() : nullptr; p; p = p->prev()) {
        if (BaseTransform::IsSkipped(*p) || !*Tokens::Text(*p))
            continue;
        if (Tokens::TextIs(*p, word))
            return p;
        bool specifier = false;
        for (char const* s : specifiers)
            specifier = specifier || Tokens::TextIs(*p, s);
        if (!specifier)
            return nullptr;
    }
    return nullptr;
}

// Writes `final` at the end of the declaration's head unless it is there.
void AddFinal(NodeFuncDecl& decl)
{
    Lex::Token* end = Tokens::HeadEnd(decl);
    if (!end || Tokens::FindAfterParams(decl, IsFinalToken))
        return;
    Lex::Token* prev = end->prev();
    end->AddTokenBefore(*BaseTransform::NewTextToken(prev && IsWhite(*prev) ? "final " : " final "));
}

// The declaration's `noexcept` with its condition, as text; empty without.
Str NoexceptText(NodeFuncDecl& decl)
{
    Lex::Token* word = Tokens::FindAfterParams(decl, IsNoexceptToken);
    if (!word)
        return Str();
    Str text("noexcept");
    Lex::Token* open = BaseTransform::NextNonWhite(word);
    int depth = 0;
    for (Lex::Token* t = open && open->type == Lex::TOK_OPEN_ROUND ? open : nullptr; t; t = t->next()) {
        if (t->type == Lex::TOK_OPEN_ROUND)
            ++depth;
        else if (t->type == Lex::TOK_CLOSE_ROUND)
            --depth;
        if (!(t->flags & Lex::Token::comment_flag))
            text += Tokens::Text(*t);
        if (depth == 0)
            break;
    }
    return text;
}

// Writes the `noexcept` clause after the declaration's parameters
// and qualifiers unless it has one.
void AddNoexcept(NodeFuncDecl& decl, Str const& clause)
{
    Lex::Token* last = Tokens::ParamsEnd(decl);
    if (!last || Tokens::FindAfterParams(decl, IsNoexceptToken))
        return;
    for (Lex::Token* t = BaseTransform::NextNonWhite(last); t; t = BaseTransform::NextNonWhite(t)) {
        if (t->type != Lex::TOK_CONST && t->type != Lex::TOK_VOLATILE && t->type != Lex::TOK_AND &&
            t->type != Lex::TOK_AND_AND)
            break;
        last = t;
    }
    Str text(" ");
    text += clause;
    last->AddTokenAfter(*BaseTransform::NewTextToken(text));
}

} // namespace

bool RefinementSpecifiers::MoveUp(NodeFuncDecl& decl, NodeFuncDecl* top, bool ctorOrDtor)
{
    bool wasVirtual = false;
    if (ctorOrDtor) {
        // The renamed version is an ordinary method.
        if (Lex::Token* word = SpecifierBefore(decl, "virtual")) {
            Tokens::Blank(*word);
            wasVirtual = true;
        }
        if (Lex::Token* word = SpecifierBefore(decl, "explicit")) {
            Tokens::Blank(*word);
            if (top)
                AddSpecifier(*top, "explicit");
        }
        // A defaulted or deleted lower version does nothing of its own.
        if (Lex::Token* assign = BaseTransform::DefaultedOrDeleted(decl))
            ReplaceDefaulted(*assign, "{}");
    }
    bool hadFinal = false;
    while (Lex::Token* word = Tokens::FindAfterParams(decl, IsFinalToken)) {
        Tokens::Blank(*word);
        hadFinal = true;
    }
    if (hadFinal && top)
        AddFinal(*top);
    // An overrider may not loosen the `noexcept` of what it overrides, and callers
    // may rely on it: the composed member keeps a lower version's one.
    Str clause = NoexceptText(decl);
    if (!clause.IsEmpty() && top)
        AddNoexcept(*top, clause);
    return wasVirtual;
}

void RefinementSpecifiers::MoveDefaultArguments(NodeFuncDecl& decl, NodeFuncDecl& top)
{
    Array<Lex::Token*> own = Tokens::ParamNames(decl);
    Array<Lex::Token*> upper = Tokens::ParamNames(top);
    for (int i = 0; i < own.GetCount() && i < upper.GetCount(); ++i) {
        Str value = own[i] ? DefaultArgument(*own[i]) : Str();
        if (value.IsEmpty() || !upper[i] || !DefaultArgument(*upper[i]).IsEmpty())
            continue;
        Str text(" =");
        text += value;
        // On the parameter's line: no line directive inside the list.
        Lex::Token* token = BaseTransform::NewTextToken(text);
        token->location = upper[i]->location;
        upper[i]->AddTokenAfter(*token);
    }
}

Str RefinementSpecifiers::DefaultArgument(Lex::Token& name)
{
    Lex::Token* assign = BaseTransform::NextNonWhite(&name);
    if (!assign || assign->type != Lex::TOK_ASSIGN)
        return Str();
    Str text;
    int depth = 0;
    int angles = 0; // template arguments: `std::less<int>()`
    Lex::Token* prev = assign;
    for (Lex::Token* t = assign->next(); t; t = t->next()) {
        int type = t->type;
        if (type == Lex::TOK_OPEN_ROUND || type == Lex::TOK_OPEN_SQUARE || type == Lex::TOK_OPEN_CURLY)
            ++depth;
        else if (type == Lex::TOK_CLOSE_ROUND || type == Lex::TOK_CLOSE_SQUARE || type == Lex::TOK_CLOSE_CURLY) {
            if (depth-- == 0)
                break;
        } else if (type == Lex::TOK_LESS && prev->type == Lex::TOK_ID)
            ++angles;
        else if (type == Lex::TOK_GREATER && angles > 0)
            --angles;
        else if (type == Lex::TOK_RSH && angles > 0)
            angles = angles > 1 ? angles - 2 : 0;
        else if (type == Lex::TOK_COMMA && depth == 0 && angles == 0)
            break;
        if (!(t->flags & Lex::Token::comment_flag))
            text += Tokens::Text(*t);
        if (!BaseTransform::IsSkipped(*t))
            prev = t;
    }
    return text;
}

bool RefinementSpecifiers::RemoveOverride(NodeFuncDecl& decl)
{
    bool found = false;
    if (NodeType* type = decl.GetReturnType()) {
        if (type->GetModifier(Lex::TOK_OVERRIDE)) {
            type->DeleteModifier(Lex::TOK_OVERRIDE);
            found = true;
        }
    }
    // The word is emptied, not unlinked: the token may end the declaration,
    // where the walk over the function body begins.
    while (Lex::Token* t = Tokens::FindAfterParams(decl, IsOverrideToken)) {
        Tokens::Blank(*t);
        found = true;
    }
    return found;
}

bool RefinementSpecifiers::IsPure(NodeFuncDecl& decl)
{
    Lex::Token* assign = Tokens::FindAfterParams(decl, [](Lex::Token& t) { return t.type == Lex::TOK_ASSIGN; });
    if (!assign)
        return false;
    for (Lex::Token* t = assign->next(); t; t = t->next())
        if (!BaseTransform::IsSkipped(*t))
            return std::strcmp(Tokens::Text(*t), "0") == 0;
    return false;
}

void RefinementSpecifiers::AddSpecifier(NodeFuncDecl& decl, char const* word)
{
    Lex::Token* start = Tokens::HeadStart(decl);
    if (!start || SpecifierBefore(decl, word))
        return;
    Str text(word);
    text += " ";
    start->AddTokenBefore(*BaseTransform::NewTextToken(text));
}

void RefinementSpecifiers::ReplaceDefaulted(Lex::Token& assign, char const* text)
{
    Lex::Token* word = BaseTransform::NextNonWhite(&assign);
    assign.text = Lex::StrHashTable::insert(text);
    assign.SetType(Lex::TOK_STRING_VAL);
    if (word)
        Tokens::Blank(*word);
}
