#include "parser/NodeFuncParams.h"

#include "base/Name.h"
#include "parser/NodeBrace.h"
#include "parser/NodeID.h"
#include "parser/NodeType.h"
#include "parser/NodeVarDecl.h"

namespace {

// The plain type `void`: no modifier, pointer or array.
bool IsVoid(NodeType& type)
{
    Lex::Token* token = type.GetChildCount() == 1 && type.ChildAt(0) ? type.ChildAt(0)->GetToken() : nullptr;
    return token && token->type == Lex::TOK_VOID && type.GetTypeInfo().m_Indirection == TypeInfo::BY_VALUE;
}

} // namespace

NodeFuncParams::NodeFuncParams(NodeRoundBrace* brace) : Node(NT_FUNC_PARAMS), m_ParamListInfo(nullptr)
{
    SetChild(0, brace);
}

NodeRoundBrace* NodeFuncParams::GetBrace() const
{
    return ChildAs<NodeRoundBrace>(0, NT_ROUND_BRACE);
}

int NodeFuncParams::GetParamCount() const
{
    NodeRoundBrace* brace = GetBrace();
    return brace ? brace->GetChildCount() : 0;
}

Node* NodeFuncParams::GetParam(int index) const
{
    NodeRoundBrace* brace = GetBrace();
    return brace ? brace->ChildAt(index) : nullptr;
}

// A separator goes only between two present parameters, so an empty first
// position never yields a leading comma.
Str NodeFuncParams::AsString()
{
    Str text("(");
    bool first = true;
    for (int i = 0; i < GetParamCount(); ++i) {
        Node* param = GetParam(i);
        if (!param)
            continue;
        if (!first)
            text += ",";
        first = false;
        text += param->AsString();
    }
    text += ")";
    return text;
}

// Unnamed parameters count as well (under the unnamed name), so that f(int)
// and f(int c) are one function and A() and A(const A&) are two; a lone
// `void` is no parameter at all.
void NodeFuncParams::InitParamListInfo()
{
    int const count = GetParamCount();
    for (int i = 0; i < count; ++i) {
        Node* param = GetParam(i);
        Lex::Token* token = param && param->GetKind() == NT_TOKEN ? param->GetToken() : nullptr;
        if (token && token->type == Lex::TOK_ELLIPSIS) {
            // A C variadic list: f(int, ...) is not f(int).
            m_ParamListInfo.AddChild(*Info::Unnamed(), *new TypeInfo(Name::GetName("...")));
            continue;
        }
        if (!param || param->GetKind() != NT_VAR_DECL)
            continue;
        NodeVarDecl* decl = static_cast<NodeVarDecl*>(param);
        NodeVariableList* list = decl->GetVariableList();
        NodeType* type = decl->GetType();
        if (!type)
            continue;
        Node* declarator = list ? list->ChildAt(0) : nullptr;
        Node* id = declarator ? declarator->ChildAt(0) : nullptr;
        Name* name = id ? id->GetName() : nullptr;
        if (!name) {
            if (count == 1 && IsVoid(*type))
                continue;
            name = Info::Unnamed();
        }
        m_ParamListInfo.AddChild(*name, type->GetTypeInfo());
    }
}

// Only named parameter declarations give a name; a separator goes only
// between two names, so a forwarding call never gets an empty argument.
Str NodeFuncParams::GetParamNames(Str const& separator)
{
    Str text;
    bool first = true;
    for (int i = 0; i < GetParamCount(); ++i) {
        Node* param = GetParam(i);
        if (!param || param->GetKind() != NT_VAR_DECL)
            continue;
        NodeVariableList* list = static_cast<NodeVarDecl*>(param)->GetVariableList();
        Str names = list ? list->AsString() : Str();
        if (names.IsEmpty())
            continue;
        if (!first)
            text += separator;
        first = false;
        text += names;
    }
    return text;
}

Array<Lex::Token*> NodeFuncParams::GetParamNameTokens()
{
    Array<Lex::Token*> names;
    for (int i = 0; i < GetParamCount(); ++i) {
        Node* param = GetParam(i);
        Lex::Token* name = nullptr;
        if (param && param->GetKind() == NT_VAR_DECL) {
            NodeVariableList* list = static_cast<NodeVarDecl*>(param)->GetVariableList();
            Node* first = list ? list->ChildAt(0) : nullptr;
            NodeID* id = first && first->GetKind() == NT_ASSIGNMENT ? static_cast<NodeAssignment*>(first)->GetID() : nullptr;
            name = id ? id->GetFirstToken() : nullptr;
        }
        names.Add(name);
    }
    return names;
}
