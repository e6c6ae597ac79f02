#include "parser/NodeClassDef.h"

#include "base/Name.h"
#include "parser/NodeBaseClass.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDecl.h"
#include "parser/NodeID.h"
#include "scanner/List.h"

namespace {

// Takes what is left in a temporary list out of it without freeing it:
// tokens live to the end of the run and nodes may still point at them.
void Release(Lex::List& list)
{
    while (Lex::ListElement* e = list.first())
        list.remove(*e);
}

} // namespace

NodeClassDef::NodeClassDef(NodeClassDecl& decl) : Node(NT_CLASS_DEF), m_ClassInfo(decl.GetName())
{
    m_ClassInfo.SetDef(this);
    SetChild(0, &decl);
    SetChild(1, nullptr);
    SetChild(2, nullptr);
}

Name* NodeClassDef::GetName() const
{
    NodeClassDecl* decl = GetClassDecl();
    return decl ? decl->GetName() : nullptr;
}

NodeClassDecl* NodeClassDef::GetClassDecl() const
{
    return ChildAs<NodeClassDecl>(0, NT_CLASS_DECL);
}

NodeBlock* NodeClassDef::GetBody() const
{
    return ChildAs<NodeBlock>(1, NT_BLOCK);
}

NodeBaseClassDecl* NodeClassDef::GetBaseClassDecl() const
{
    return ChildAs<NodeBaseClassDecl>(2, NT_BASE_CLASS_DECL);
}

void NodeClassDef::SetBody(NodeBlock* body)
{
    SetChild(1, body);
}

void NodeClassDef::SetBaseClassDecl(NodeBaseClassDecl* list)
{
    if (!list)
        return;
    SetChild(2, list);
    list->m_pClass = this;
}

void NodeClassDef::AddBaseClass(AccessTypes access, Lex::List& tokens, NodeID& id)
{
    // The walk starts at the class name when there is one, so that a `:`
    // in a template head in front of it is not taken for the base list's.
    NodeClassDecl* decl = GetClassDecl();
    NodeID* name = decl ? decl->GetID() : nullptr;
    Lex::Token* start = name && name->GetFirstToken() ? name->GetFirstToken() : nullptr;
    if (!start && decl)
        start = decl->GetFirstToken();
    Lex::Token* first = static_cast<Lex::Token*>(tokens.first());
    if (!start || !start->list() || !first)
        return;

    // The `{` of this class; a `;` or `}` first means the head has no body
    // here, and a base must not go into whatever follows.
    bool colon = false;
    Lex::Token* brace = nullptr;
    for (Lex::Token* t = start; t && !brace; t = t->next()) {
        if (t->type == Lex::TOK_OPEN_CURLY)
            brace = t;
        else if (t->type == Lex::TOK_SEMI_COLON || t->type == Lex::TOK_CLOSE_CURLY)
            return;
        else if (t->type == Lex::TOK_COLON)
            colon = true;
    }
    if (!brace)
        return;

    Lex::Token* separator = colon ? new Lex::Token(Lex::TOK_COMMA, Lex::Token::cpp_id, ",")
                                  : new Lex::Token(Lex::TOK_COLON, Lex::Token::cpp_id, ":");
    brace->AddTokenBefore(*separator);
    brace->AddWhitespaceBefore();
    brace->list()->move_before(*brace, tokens);

    if (!GetBaseClassDecl())
        SetBaseClassDecl(new NodeBaseClassDecl(this));
    GetBaseClassDecl()->AddBaseClass(ConvertAccessTypeToCToken(access), *first, id);
}

void NodeClassDef::AddBaseClass(AccessTypes access, char const* name)
{
    if (!name)
        return;
    Lex::List tokens;
    Lex::Token* keyword = new Lex::Token(Lex::TOK_STRING_VAL, Lex::Token::cpp_id, ConvertAccessTypeToString(access));
    Lex::Token* base = new Lex::Token(Lex::TOK_STRING_VAL, Lex::Token::cpp_id, name);
    tokens.append(*keyword);
    tokens.append(*new Lex::Token(Lex::TOK_WHITESPACE, Lex::Token::white_id, " "));
    tokens.append(*base);
    NodeID* id = new NodeID(keyword, base, QualName::GetName(name));
    AddBaseClass(access, tokens, *id);
    Release(tokens);
}

void NodeClassDef::CopyBaseClass(NodeBaseClass& entry)
{
    NodeID* name = entry.GetID();
    if (!name)
        return;
    Lex::List* copy = FirstAndLastToken(entry.GetFirstToken(), entry.GetEndToken()).GetTokenCopy();
    if (!copy)
        return;
    if (!copy->empty()) {
        NodeID* id = new NodeID(static_cast<Lex::Token*>(copy->first()), static_cast<Lex::Token*>(copy->last()),
                                QualName::GetName(name->AsString()));
        AddBaseClass(entry.m_Access, *copy, *id);
    }
    Release(*copy);
    delete copy;
}
