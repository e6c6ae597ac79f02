// Builds the nodes of a function from scanned text, as the function builder
// of the parser does: modifiers and return type, `~`, name, parameters,
// trailing modifier, initializer list and body.
#pragma once

#include "Scanned.h"

#include "base/Array.h"
#include "parser/Info.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeFuncDef.h"
#include "parser/NodeFuncParams.h"
#include "parser/NodeInitDecl.h"
#include "parser/NodeModifier.h"
#include "parser/NodeType.h"
#include "parser/NodeVarDecl.h"

#include <vector>

namespace testutil {

inline bool Significant(Lex::Token* t)
{
    return t->language != Lex::Token::white_id && t->language != Lex::Token::comment_id;
}

inline Lex::Token* NextSig(Lex::Token* t)
{
    for (t = t->next(); t && !Significant(t); t = t->next()) {
    }
    return t;
}

inline Lex::Token* PrevSig(Lex::Token* t)
{
    for (t = t->prev(); t && !Significant(t); t = t->prev()) {
    }
    return t;
}

// The bracket that closes the one at open.
inline Lex::Token* Closing(Lex::Token* open)
{
    int depth = 0;
    for (Lex::Token* t = open; t; t = t->next()) {
        if (t->type == open->type)
            ++depth;
        if ((open->type == Lex::TOK_OPEN_ROUND && t->type == Lex::TOK_CLOSE_ROUND)
            || (open->type == Lex::TOK_OPEN_CURLY && t->type == Lex::TOK_CLOSE_CURLY))
            if (--depth == 0)
                return t;
    }
    return nullptr;
}

inline bool IsModifier(int type)
{
    switch (type) {
    case Lex::TOK_CONST:
    case Lex::TOK_EXPLICIT:
    case Lex::TOK_INLINE:
    case Lex::TOK_STATIC:
    case Lex::TOK_VIRTUAL:
    case Lex::TOK_OVERRIDE:
        return true;
    default:
        return false;
    }
}

// Builds the nodes of the function whose parameter list opens at `open`,
// as the function builder does: modifiers and return type, `~`, name,
// parameters, trailing modifier, init list and body.
struct Func {
    NodeFuncDecl* decl = nullptr;
    NodeFuncDef* def = nullptr;
};

inline Func Build(Scanned& s, InfoWithMembers& scope, Lex::Token* open, NodeClassDef* cls = nullptr)
{
    Lex::Token* nameLast = PrevSig(open);
    Lex::Token* nameFirst = nameLast;
    for (Lex::Token* p = PrevSig(nameFirst); p && p->type == Lex::TOK_COLON_COLON; p = PrevSig(nameFirst)) {
        Lex::Token* outer = PrevSig(p);
        if (!outer || outer->type != Lex::TOK_ID)
            break;
        nameFirst = outer;
    }
    NodeID* id = s.Id(nameFirst, nameLast);

    Lex::Token* t = PrevSig(nameFirst);
    NodeOperator* op = nullptr;
    if (t && t->type == Lex::TOK_TILDE) {
        op = new NodeOperator(t);
        t = PrevSig(t);
    }
    std::vector<Lex::Token*> before;
    for (; t && t->type != Lex::TOK_SEMI_COLON && t->type != Lex::TOK_CLOSE_CURLY && t->type != Lex::TOK_OPEN_CURLY;
         t = PrevSig(t))
        before.insert(before.begin(), t);
    Array<NodeModifier*> modifiers;
    Lex::Token* typeToken = nullptr;
    std::vector<Lex::Token*> marks;
    for (Lex::Token* b : before) {
        if (IsModifier(b->type))
            modifiers.Add(new NodeModifier(b));
        else if (b->type == Lex::TOK_MUL || b->type == Lex::TOK_AND)
            marks.push_back(b);
        else
            typeToken = b;
    }
    NodeType* type = nullptr;
    if (typeToken && typeToken->type == Lex::TOK_ID) {
        NodeID* typeId = s.Id(typeToken);
        typeId->m_Modifiers = modifiers;
        type = new NodeType(*typeId);
    } else if (typeToken) {
        type = new NodeType(*new NodeToken(typeToken));
    } else {
        id->m_Modifiers = modifiers;
    }
    if (type) {
        type->AddModifiers(modifiers);
        for (Lex::Token* m : marks)
            type->AddChild(new NodeOperator(m));
    }

    Lex::Token* close = Closing(open);
    NodeRoundBrace* brace = new NodeRoundBrace(open);
    brace->SetLastToken(*close);
    std::vector<Lex::Token*> piece;
    auto flush = [&] {
        if (piece.empty())
            return;
        Lex::Token* first = piece.front();
        NodeType* paramType =
            first->type == Lex::TOK_ID ? new NodeType(*s.Id(first)) : new NodeType(*new NodeToken(first));
        if (piece.size() == 1) {
            brace->AddChild(paramType);
        } else {
            NodeVarDecl* param = new NodeVarDecl(paramType);
            param->GetVariableList()->AddChild(new NodeAssignment(s.Id(piece.back())));
            brace->AddChild(param);
        }
        piece.clear();
    };
    for (Lex::Token* p = NextSig(open); p && p != close; p = NextSig(p)) {
        if (p->type == Lex::TOK_COMMA)
            flush();
        else
            piece.push_back(p);
    }
    flush();
    NodeFuncParams* params = new NodeFuncParams(brace);
    params->InitParamListInfo();

    t = NextSig(close);
    NodeModifier* trailing = nullptr;
    if (t && IsModifier(t->type)) {
        trailing = new NodeModifier(t);
        t = NextSig(t);
    }
    Func f;
    f.decl = new NodeFuncDecl(scope, type, op, *id, *params, trailing);
    if (cls)
        f.decl->SetClass(cls);
    if (!t || t->type == Lex::TOK_SEMI_COLON) {
        if (t)
            f.decl->SetLastToken(*t);
        return f;
    }
    NodeInitDecl* init = nullptr;
    if (t->type == Lex::TOK_COLON) {
        init = new NodeInitDecl(t);
        while (t && t->type != Lex::TOK_OPEN_CURLY)
            t = t->type == Lex::TOK_OPEN_ROUND ? NextSig(Closing(t)) : NextSig(t);
        init->SetLastToken(*PrevSig(t));
    }
    f.decl->SetLastToken(*PrevSig(init ? init->GetFirstToken() : t));
    NodeBlock* body = new NodeBlock(t);
    body->SetLastToken(*Closing(t));
    f.def = new NodeFuncDef(*f.decl, init, body);
    return f;
}

} // namespace testutil
