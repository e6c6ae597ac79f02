#include "parser/NodeBaseClass.h"

#include "parser/NodeID.h"
#include "parser/NodeTemplateDef.h"

namespace {

// Tokens that end a class head; no walk over a base list goes past them.
bool EndsHead(Lex::Token const* t)
{
    return t->type == Lex::TOK_OPEN_CURLY || t->type == Lex::TOK_SEMI_COLON || t->type == Lex::TOK_CLOSE_CURLY;
}

} // namespace

// ---- NodeBaseClass

NodeBaseClass::NodeBaseClass(AccessTypes access, Lex::Token* first, NodeID& id) : Node(NT_BASE_CLASS), m_Access(access)
{
    m_pFirstToken = first;
    SetChild(0, &id);
    SetChild(1, nullptr);
}

NodeID* NodeBaseClass::GetID() const
{
    return ChildAs<NodeID>(0, NT_ID);
}

NodeTempleInstanceDef* NodeBaseClass::GetTemplArgs() const
{
    return ChildAs<NodeTempleInstanceDef>(1, NT_TEMPLE_INSTANCE_DEF);
}

void NodeBaseClass::SetTemplArgs(NodeTempleInstanceDef* args)
{
    SetChild(1, args);
}

Lex::Token* NodeBaseClass::GetEndToken() const
{
    NodeID* id = GetID();
    Lex::Token* name = id ? id->GetLastToken() : nullptr;
    NodeTempleInstanceDef* args = GetTemplArgs();
    Lex::Token* end = args ? args->GetLastToken() : nullptr;
    if (!end)
        return name;
    // Y<int>::Inner: the name goes on after the arguments.
    bool afterArgs = false;
    for (Lex::Token* t = id ? id->GetFirstToken() : nullptr; name && t && !EndsHead(t); t = t->next()) {
        if (t == end)
            afterArgs = true;
        else if (t == name && afterArgs)
            return name;
    }
    return end;
}

void NodeBaseClass::DeleteTokens()
{
    Lex::Token* first = m_pFirstToken;
    if (!first || !first->list())
        return;
    Lex::Token* before = first->prev();

    // The entry, and the `,` that ends it when another entry follows.
    int round = 0;
    int angle = 0;
    for (Lex::Token* t = first; t && !EndsHead(t);) {
        Lex::Token* next = t->next();
        int const type = t->type;
        t->delete_token();
        if (type == Lex::TOK_OPEN_ROUND) {
            ++round;
        } else if (type == Lex::TOK_CLOSE_ROUND) {
            if (round > 0)
                --round;
        } else if (round == 0 && type == Lex::TOK_LESS) {
            ++angle;
        } else if (round == 0 && type == Lex::TOK_GREATER) {
            if (angle > 0)
                --angle;
        } else if (round == 0 && type == Lex::TOK_RSH) {
            angle = angle > 2 ? angle - 2 : 0;
        } else if (type == Lex::TOK_COMMA && round == 0 && angle == 0) {
            return;
        }
        t = next;
    }

    // The last entry: the separator in front of it goes.
    for (Lex::Token* t = before; t && !EndsHead(t);) {
        Lex::Token* prev = t->prev();
        int const type = t->type;
        t->delete_token();
        if (type == Lex::TOK_COLON || type == Lex::TOK_COMMA)
            break;
        t = prev;
    }
}

// ---- NodeBaseClassDecl

NodeBaseClassDecl::NodeBaseClassDecl(NodeClassDef* cls) : Node(NT_BASE_CLASS_DECL), m_pClass(cls) {}

NodeBaseClass* NodeBaseClassDecl::GetBase(int index) const
{
    return ChildAs<NodeBaseClass>(index, NT_BASE_CLASS);
}

void NodeBaseClassDecl::DeleteBase(NodeBaseClass& entry)
{
    if (IndexOfChild(&entry) < 0)
        return;
    entry.DeleteTokens();
    RemoveChild(&entry);
}

NodeBaseClass* NodeBaseClassDecl::AddBaseClass(Lex::CTokens access, Lex::Token& first, NodeID& id)
{
    NodeBaseClass* entry = new NodeBaseClass(ConvertCTokenToAccessType(access), &first, id);
    AddChild(entry);
    return entry;
}
