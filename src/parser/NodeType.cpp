#include "parser/NodeType.h"

#include "base/Name.h"
#include "parser/CParserState.h"
#include "parser/CRoundBlockParser.h"
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

bool IsWordChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$';
}

// A type's tokens are at most this far apart; a longer stretch is no type.
int const MAX_SPELLED_TOKENS = 400;

// The name of the type made from id: a plain or qualified name gives its
// last component (A::B is B); a name with template arguments is named as it
// is written, arguments included ("std::vector<int>"), so that types that
// differ only in their arguments stay apart.
Name* SpelledName(NodeID& id)
{
    Lex::Token* first = id.GetFirstToken();
    Lex::Token* last = id.GetLastToken();
    if (!first || !last || first->type == Lex::TOK_OPERATOR || last->type == Lex::TOK_OPERATOR)
        return id.GetName();
    Lex::Token* close = NodeType::TemplateArgsAfter(last);
    bool arguments = close != nullptr;
    for (Lex::Token* t = first; t && t != last && !arguments; t = t->next())
        arguments = t->type == Lex::TOK_LESS;
    if (!arguments)
        return id.GetName();
    Str text = NodeType::Spell(first, close ? close : last);
    return text.IsEmpty() ? id.GetName() : Name::GetName(text.GetBuffer());
}

bool IsSimpleTypeWord(Lex::Token* token)
{
    return token && CRoundBlockParser::IsSimpleType(token->type);
}

} // namespace

Str NodeType::Spell(Lex::Token* first, Lex::Token* last)
{
    Str text;
    int n = 0;
    for (Lex::Token* t = first; t && n < MAX_SPELLED_TOKENS; t = t->next(), ++n) {
        if (!CParserState::IsBlankToken(t)) {
            char const* part = t->text ? t->text->text : "";
            size_t length = text.GetLength();
            if (length && part[0] && IsWordChar(text.GetBuffer()[length - 1]) && IsWordChar(part[0]))
                text += " ";
            text += part;
        }
        if (t == last)
            return text;
    }
    return Str();
}

Lex::Token* NodeType::TemplateArgsAfter(Lex::Token* name)
{
    if (!name || name->type != Lex::TOK_ID)
        return nullptr;
    Lex::Token* next = CParserState::NextSignificant(name);
    return next && next->type == Lex::TOK_LESS ? CParserState::FindAngleClose(next) : nullptr;
}

NodeType::NodeType(NodeID& id) : Node(NT_TYPE), m_TypeInfo(SpelledName(id))
{
    AddChild(&id);
}

bool NodeType::AddSimpleTypeToken(NodeToken& token)
{
    Lex::Token* word = token.GetToken();
    if (!IsSimpleTypeWord(word) || GetChildCount() == 0)
        return false;
    Str text;
    for (int i = 0; i < GetChildCount(); ++i) {
        Node* child = m_Childs[i];
        if (!child || child->GetKind() == NT_MODIFIER)
            continue;
        if (child->GetKind() != NT_TOKEN || !IsSimpleTypeWord(child->GetToken()))
            return false;
        if (!text.IsEmpty())
            text += " ";
        text += child->GetToken()->text->text;
    }
    if (text.IsEmpty())
        return false;
    text += " ";
    text += word->text->text;
    // A trailing const stays the last child.
    int at = GetChildCount();
    while (at > 0 && m_Childs[at - 1] && m_Childs[at - 1]->GetKind() == NT_MODIFIER)
        --at;
    m_Childs.InsertAt(at, &token);
    token.m_pParent = this;
    m_TypeInfo.SetName(Name::GetName(text.GetBuffer()));
    return true;
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

bool NodeType::ReleaseModifier(NodeModifier* modifier)
{
    int index = -1;
    for (int i = 0; modifier && i < m_Modifiers.GetCount() && index < 0; ++i)
        if (m_Modifiers[i] == modifier)
            index = i;
    if (index < 0)
        return false;
    m_Modifiers.RemoveAt(index, 1);
    RemoveChild(modifier);
    Lex::Token* token = modifier->GetToken();
    switch (token ? token->type : Lex::TOK_NONE) {
    case Lex::TOK_CONST:
        m_TypeInfo.m_bConst = false;
        break;
    case Lex::TOK_INLINE:
        m_TypeInfo.m_bInline = false;
        break;
    case Lex::TOK_STATIC:
        m_TypeInfo.m_bStatic = false;
        break;
    case Lex::TOK_VIRTUAL:
        m_TypeInfo.m_bVirtual = false;
        break;
    default:
        break;
    }
    return true;
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
