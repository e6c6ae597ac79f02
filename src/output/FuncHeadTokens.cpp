#include "output/FuncHeadTokens.h"

#include "output/BaseTransform.h"
#include "parser/NodeBrace.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeFuncParams.h"
#include "parser/NodeID.h"
#include "scanner/Token.h"

#include <cstring>

char const* FuncHeadTokens::Text(Lex::Token const& token) { return token.text ? token.text->text : ""; }

bool FuncHeadTokens::TextIs(Lex::Token const& token, char const* text) { return std::strcmp(Text(token), text) == 0; }

Lex::Token* FuncHeadTokens::ParamsEnd(NodeFuncDecl& decl)
{
    NodeFuncParams* params = decl.GetParams();
    NodeRoundBrace* brace = params ? params->GetBrace() : nullptr;
    return brace ? brace->GetLastToken() : nullptr;
}

Lex::Token* FuncHeadTokens::FindAfterParams(NodeFuncDecl& decl, bool (*fn)(Lex::Token&))
{
    Lex::Token* close = ParamsEnd(decl);
    for (Lex::Token* t = close ? close->next() : nullptr; t; t = t->next()) {
        if (BaseTransform::IsSkipped(*t))
            continue;
        if (t->type == Lex::TOK_OPEN_CURLY || t->type == Lex::TOK_SEMI_COLON || t->type == Lex::TOK_COLON ||
            t->type == Lex::TOK_CLOSE_CURLY)
            return nullptr;
        if (fn(*t))
            return t;
    }
    return nullptr;
}

Lex::Token* FuncHeadTokens::HeadEnd(NodeFuncDecl& decl)
{
    Lex::Token* close = ParamsEnd(decl);
    int depth = 0;
    for (Lex::Token* t = close ? close->next() : nullptr; t; t = t->next()) {
        if (t->type == Lex::TOK_OPEN_ROUND)
            ++depth;
        else if (t->type == Lex::TOK_CLOSE_ROUND)
            --depth;
        else if (depth == 0 && (t->type == Lex::TOK_OPEN_CURLY || t->type == Lex::TOK_SEMI_COLON ||
                                t->type == Lex::TOK_COLON || t->type == Lex::TOK_ASSIGN || t->type == Lex::TOK_CLOSE_CURLY))
            return t;
    }
    return nullptr;
}

Lex::Token* FuncHeadTokens::HeadStart(NodeFuncDecl& decl)
{
    Lex::Token* first = NameToken(decl);
    for (Lex::Token* p = first ? first->prev() : nullptr; p; p = p->prev()) {
        if (BaseTransform::IsSkipped(*p) || !*Text(*p))
            continue;
        return p->type == Lex::TOK_TILDE ? p : first;
    }
    return first;
}

Lex::Token* FuncHeadTokens::NameToken(NodeFuncDecl& decl)
{
    if (Lex::Token* t = decl.GetToken())
        return t;
    NodeID* id = decl.GetNameNode();
    return id ? id->GetFirstToken() : nullptr;
}

Array<Lex::Token*> FuncHeadTokens::ParamNames(NodeFuncDecl& decl)
{
    NodeFuncParams* params = decl.GetParams();
    return params ? params->GetParamNameTokens() : Array<Lex::Token*>();
}

void FuncHeadTokens::Blank(Lex::Token& token)
{
    token.text = Lex::StrHashTable::insert("");
    token.SetType(Lex::TOK_STRING_VAL);
}
