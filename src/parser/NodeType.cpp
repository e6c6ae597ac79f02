#include "parser/NodeType.h"

#include "base/Name.h"
#include "parser/NodeID.h"
#include "parser/NodeModifier.h"
#include "parser/NodeVarDecl.h"

#include <cstring>

namespace {

Name* TextName(Lex::Token* token)
{
    return token ? Name::GetName(token->text->text) : nullptr;
}

// The first token of a name child: an id's first token or the token of a
// single-token node; null when it is not in a list.
Lex::Token* LinkedToken(Node* child)
{
    if (!child)
        return nullptr;
    Lex::Token* token = nullptr;
    if (child->GetKind() == NT_ID)
        token = static_cast<NodeID*>(child)->GetFirstToken();
    else
        token = child->GetToken();
    return token && token->list() ? token : nullptr;
}

} // namespace

NodeType::NodeType(NodeID& id) : Node(NT_TYPE), m_TypeInfo(id.GetName())
{
    AddChild(&id);
}

NodeType::NodeType(NodeToken& token) : Node(NT_TYPE), m_TypeInfo(TextName(token.GetToken()))
{
    AddChild(&token);
}

Name* NodeType::GetName() const
{
    Node* first = ChildAt(0);
    return first ? first->GetName() : nullptr;
}

Lex::Token* NodeType::GetFirstToken()
{
    // Child 0 normally; a child whose token was unlinked (a removed
    // `virtual`) no longer marks where the type begins.
    Lex::Token* result = nullptr;
    for (int i = 0; i < GetChildCount() && !result; ++i)
        result = LinkedToken(m_Childs[i]);
    if (!result)
        return nullptr;
    for (int i = 0; i < m_Modifiers.GetCount(); ++i) {
        Lex::Token* token = m_Modifiers[i] ? m_Modifiers[i]->GetToken() : nullptr;
        if (!token || !token->list())
            continue;
        Lex::Token* t = token->next();
        for (int n = 0; n < 10 && t; ++n, t = t->next())
            if (t == result) {
                result = token;
                break;
            }
    }
    return result;
}

NodeModifier* NodeType::GetModifier(Lex::CTokens type)
{
    for (int i = 0; i < m_Modifiers.GetCount(); ++i) {
        Lex::Token* token = m_Modifiers[i] ? m_Modifiers[i]->GetToken() : nullptr;
        if (token && token->type == type)
            return m_Modifiers[i];
    }
    return nullptr;
}

NodeModifier* NodeType::GetModifier(char const* text)
{
    if (!text)
        return nullptr;
    for (int i = 0; i < m_Modifiers.GetCount(); ++i) {
        Lex::Token* token = m_Modifiers[i] ? m_Modifiers[i]->GetToken() : nullptr;
        if (token && strcmp(token->text->text, text) == 0)
            return m_Modifiers[i];
    }
    return nullptr;
}

void NodeType::DeleteModifier(NodeModifier* modifier)
{
    if (!modifier)
        return;
    int index = -1;
    for (int i = 0; i < m_Modifiers.GetCount() && index < 0; ++i)
        if (m_Modifiers[i] == modifier)
            index = i;
    if (index < 0)
        return;
    m_Modifiers.RemoveAt(index, 1);
    // The name id took the same modifier nodes when the type was made.
    for (int i = 0; i < GetChildCount(); ++i) {
        Node* child = m_Childs[i];
        if (!child || child->GetKind() != NT_ID)
            continue;
        Array<NodeModifier*>& own = static_cast<NodeID*>(child)->m_Modifiers;
        for (int k = own.GetCount() - 1; k >= 0; --k)
            if (own[k] == modifier)
                own.RemoveAt(k, 1);
    }
    DeleteChild(modifier);
}

void NodeType::DeleteModifier(Lex::CTokens type)
{
    DeleteModifier(GetModifier(type));
}

void NodeType::DeleteModifier(char const* text)
{
    DeleteModifier(GetModifier(text));
}

void NodeType::DeleteChild(Node* child)
{
    if (IndexOfChild(child) < 0)
        return;
    child->DeleteTokens();
    RemoveChild(child);
}

void NodeType::Delete()
{
    for (int i = 0; i < GetChildCount(); ++i) {
        Node* child = m_Childs[i];
        if (!child)
            continue;
        child->DeleteTokens();
        if (child->GetParent() == this)
            child->m_pParent = nullptr;
    }
    m_Childs.RemoveAll();
    m_Modifiers.RemoveAll();
}

void NodeType::AddModifiers(Array<NodeModifier*> const& modifiers)
{
    int const start = m_Modifiers.GetCount();
    m_Modifiers.Append(modifiers);
    for (int i = start; i < m_Modifiers.GetCount(); ++i) {
        NodeModifier* modifier = m_Modifiers[i];
        if (!modifier)
            continue;
        Lex::Token* token = modifier->GetToken();
        int const type = token ? token->type : Lex::TOK_NONE;
        if (type == Lex::TOK_CONST) {
            AddChild(modifier);
        } else {
            m_Childs.InsertAt(0, modifier);
            modifier->m_pParent = this;
        }
        switch (type) {
        case Lex::TOK_CONST:
            SetIsConst();
            break;
        case Lex::TOK_INLINE:
            SetIsInline();
            break;
        case Lex::TOK_STATIC:
            SetIsStatic();
            break;
        case Lex::TOK_VIRTUAL:
            SetIsVirtual();
            break;
        default:
            break;
        }
    }
}

Str NodeType::AsString(NodeVariableList& declarators)
{
    Str text;
    bool written = false;
    bool first = true;
    for (int i = 0; i < GetChildCount(); ++i) {
        Node* child = m_Childs[i];
        if (!child)
            continue;
        if (!first)
            text += " ";
        first = false;
        Str part = child->AsString();
        if (part.GetBuffer()[0] == '[') {
            text += declarators.AsString();
            written = true;
        }
        text += part;
    }
    if (!written) {
        text += " ";
        text += declarators.AsString();
    }
    return text;
}
