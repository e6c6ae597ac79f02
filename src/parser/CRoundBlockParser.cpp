#include "parser/CRoundBlockParser.h"

#include "parser/CFuncBuilder.h"
#include "parser/CParserState.h"
#include "parser/NodeBrace.h"
#include "parser/NodeID.h"
#include "parser/NodeModifier.h"
#include "parser/NodeType.h"
#include "parser/NodeVarDecl.h"
#include "parser/Scope.h"
#include "scanner/StrHashTable.h"

namespace {

bool IsOperatorType(int type)
{
    switch (type) {
    case Lex::TOK_PLUS_ASSIGN:
    case Lex::TOK_AND:
    case Lex::TOK_AND_AND:
    case Lex::TOK_AND_ASSIGN:
    case Lex::TOK_AT:
    case Lex::TOK_DECR:
    case Lex::TOK_DIV:
    case Lex::TOK_DIV_ASSIGN:
    case Lex::TOK_EQ:
    case Lex::TOK_GEQ:
    case Lex::TOK_INCR:
    case Lex::TOK_OR_ASSIGN:
    case Lex::TOK_LEQ:
    case Lex::TOK_LSH:
    case Lex::TOK_LSH_ASSIGN:
    case Lex::TOK_MINUS:
    case Lex::TOK_MODULO:
    case Lex::TOK_MOD_ASSIGN:
    case Lex::TOK_MUL:
    case Lex::TOK_MUL_ASSIGN:
    case Lex::TOK_NEQ:
    case Lex::TOK_NOT:
    case Lex::TOK_OR:
    case Lex::TOK_OR_OR:
    case Lex::TOK_PLUS:
    case Lex::TOK_QUESTION:
    case Lex::TOK_RSH:
    case Lex::TOK_RSH_ASSIGN:
    case Lex::TOK_MINUS_ASSIGN:
    case Lex::TOK_TILDE:
    case Lex::TOK_XOR_ASSIGN:
        return true;
    default:
        return false;
    }
}

bool IsLiteralType(int type)
{
    switch (type) {
    case Lex::TOK_BOOL_VAL:
    case Lex::TOK_CHAR_VAL:
    case Lex::TOK_FLT_VAL:
    case Lex::TOK_INT_VAL:
    case Lex::TOK_STRING_VAL:
    case Lex::TOK_ZERO_VAL:
        return true;
    default:
        return false;
    }
}

// Tokens that stand as plain token nodes in a statement.
bool IsPlainTokenType(int type)
{
    switch (type) {
    case Lex::TOK_COLON_COLON:
    case Lex::TOK_DELETE:
    case Lex::TOK_DOT:
    case Lex::TOK_ELLIPSIS:
    case Lex::TOK_GOTO:
    case Lex::TOK_NEW:
    case Lex::TOK_PTS:
    case Lex::TOK_SIZEOF:
    case Lex::TOK_STATIC_CAST:
    case Lex::TOK_THIS:
    case Lex::TOK_THROW:
    case Lex::TOK_TYPENAME:
    case Lex::TOK_CDECL:
    case Lex::TOK_STDCALL:
    case Lex::TOK_DEFAULT: // `= default`
        return true;
    default:
        return false;
    }
}

bool IsModifierType(int type)
{
    switch (type) {
    case Lex::TOK_CONST:
    case Lex::TOK_EXTERN:
    case Lex::TOK_MUTABLE:
    case Lex::TOK_STATIC:
    case Lex::TOK_VOLATILE:
    case Lex::TOK_OVERRIDE:
        return true;
    default:
        return false;
    }
}

// A round bracket that follows a name: the parameters of a function (or
// the arguments of a call, which the declaration contexts do not hold).
bool IsParameterList(NodeRoundBrace* brace)
{
    Node* owner = brace ? brace->m_pPrecedingNode : nullptr;
    return owner && owner->GetKind() == NT_ID;
}

bool AfterOperatorKeyword(CParserState const& state)
{
    return state.m_pLastSignificantToken && state.m_pLastSignificantToken->type == Lex::TOK_OPERATOR;
}

} // namespace

bool CRoundBlockParser::IsSimpleType(int type)
{
    switch (type) {
    case Lex::TOK_BOOL:
    case Lex::TOK_CHAR:
    case Lex::TOK_DOUBLE:
    case Lex::TOK_FLOAT:
    case Lex::TOK_INT:
    case Lex::TOK_LONG:
    case Lex::TOK_SHORT:
    case Lex::TOK_SIGNED:
    case Lex::TOK_UNSIGNED:
    case Lex::TOK_VOID:
    case Lex::TOK_WCHAR_T:
    case Lex::TOK_INT64:
    case Lex::TOK_AUTO:
        return true;
    default:
        return false;
    }
}

bool CRoundBlockParser::ProcessToken()
{
    Lex::Token* token = m_State.m_pActToken;
    if (!token)
        return false;
    int type = m_State.m_ActTokenType;
    if (IsSimpleType(type)) {
        m_State.CreateType(nullptr, true);
        return true;
    }
    if (type > Lex::TOK_COMMENT_TEXT)
        return false;
    if (IsOperatorType(type)) {
        OnOperator();
        return true;
    }
    if (IsLiteralType(type)) {
        AddNode(*new NodeValue(token));
        return true;
    }
    if (type == Lex::TOK_ELLIPSIS && CFuncBuilder::OnEllipsis(m_State))
        return true;
    if (IsPlainTokenType(type)) {
        AddNode(*new NodeToken(token));
        return true;
    }
    if (IsModifierType(type)) {
        OnModifier();
        return true;
    }
    switch (type) {
    case Lex::TOK_ASSIGN:
        OnTokAssign();
        return true;
    case Lex::TOK_CLOSE_ROUND:
        if (m_State.OnDeclaratorParen())
            return true;
        CreateVarDeclaration();
        m_State.CloseRound();
        return true;
    case Lex::TOK_CLOSE_SQUARE:
        m_State.CloseSquare();
        return true;
    case Lex::TOK_COLON:
        OnTokColon();
        return true;
    case Lex::TOK_COMMA:
        if (!CreateExpression() && !CreateVarDeclaration())
            AddNode(*new NodeToken(token));
        CFuncBuilder::DropBracketContents(m_State);
        return true;
    case Lex::TOK_GREATER:
        if (m_State.m_pOpenTemplate)
            m_State.CloseTemplateDef();
        else
            OnOperator();
        return true;
    case Lex::TOK_ID:
        OnTokID();
        return true;
    case Lex::TOK_LESS:
        if (!m_State.m_pOpenTemplate && !AfterOperatorKeyword(m_State) && m_State.ReadTemplateArgs())
            return true;
        if (!m_State.m_pOpenTemplate)
            OnOperator();
        return true;
    case Lex::TOK_OPEN_ROUND:
        if (m_State.OnParenInitializer())
            return true;
        m_State.OpenRound();
        return true;
    case Lex::TOK_OPEN_SQUARE:
        m_State.OpenSquare();
        return true;
    case Lex::TOK_OPERATOR:
        m_State.OnTokOperator();
        CFuncBuilder::ReadOperatorName(m_State);
        return true;
    case Lex::TOK_XOR:
        if (m_State.GetActScope() && m_State.GetActScope()->GetType() == SCOPE_ASM) {
            token->text = Lex::StrHashTable::insert("xor");
            AddNode(*new NodeToken(token));
        } else {
            OnOperator();
        }
        return true;
    case Lex::TOK_USING:
        AddNode(*new NodeUsing(token));
        return true;
    case Lex::TOK_RESTRICT:
        // Only qualifies a pointer; says nothing about the structure.
        OnPointerQualifier();
        return true;
    case Lex::TOK_WHITESPACE:
    case Lex::TOK_COMMENT_LINE:
    case Lex::TOK_COMMENT_BEGIN:
    case Lex::TOK_COMMENT_END:
    case Lex::TOK_COMMENT_TEXT:
        return true;
    default:
        return false;
    }
}

void CRoundBlockParser::OnTokID()
{
    // `constexpr` and its kin stand apart: they are neither a type nor a
    // name, and the return type after them is read as usual.
    if (CFuncBuilder::IsDeclSpecifier(m_State.m_pActToken)) {
        AddNode(*new NodeToken(m_State.m_pActToken));
        return;
    }
    if (m_State.OnTypeOfExpression())
        return;
    m_State.OnTokID();
}

void CRoundBlockParser::OnTokAssign()
{
    if (!AfterOperatorKeyword(m_State) && m_State.IsTypeAlias()) {
        // `using U = ...;`: what the name stands for says nothing about
        // the structure.
        m_State.ResetID();
        m_State.SkipInitializer();
        return;
    }
    if (AfterOperatorKeyword(m_State) || !CreateVarDeclaration()) {
        OnOperator();
        return;
    }
    // The initializer of the declarator (a default member initializer, a
    // default argument, a variable's value) is no part of the structure.
    m_State.SkipInitializer();
}

void CRoundBlockParser::OnOperator()
{
    if (AfterOperatorKeyword(m_State))
        m_State.OnOperatorName();
    else if (m_State.m_pActToken)
        m_State.AddOperator(*new NodeOperator(m_State.m_pActToken));
}

void CRoundBlockParser::OnModifier()
{
    if (!m_State.m_pActToken)
        return;
    if (OnPointerQualifier())
        return;
    NodeModifier* modifier = new NodeModifier(m_State.m_pActToken);
    AddNode(*modifier);
    m_State.m_PendingModifiers.Add(modifier);
}

bool CRoundBlockParser::CreateVarDeclaration()
{
    CParserState& state = m_State;
    // The names of `typedef` and `using` declarations are no variables.
    if (state.IsTypeAlias())
        return false;
    if (!state.m_pVarDecl) {
        // Only a node of this statement can start a declaration: the last
        // node of an earlier statement (the last member of a class before
        // its `}`) must not make one of what follows.
        int count = state.m_StatementNodes.GetCount();
        Node* last = count > 0 && state.m_StatementNodes[count - 1] == state.m_pLastNode ? state.m_pLastNode : nullptr;
        if (last && (last->GetKind() == NT_TYPE || last->GetKind() == NT_ID)) {
            state.CreateVarDecl(*last);
        } else if (last && last->GetKind() == NT_TOKEN && last->GetToken()
                   && last->GetToken()->type == Lex::TOK_COLON_COLON && state.GetActScope()
                   && state.GetActScope()->GetType() == SCOPE_FILE) {
            int types = state.m_StatementTypes.GetCount();
            if (types > 0)
                state.CreateVarDecl(*state.m_StatementTypes[types - 1]);
        } else if (last && state.m_pActToken && !state.m_RoundBraces.IsEmpty()
                   && (state.m_ActTokenType == Lex::TOK_COMMA || state.m_ActTokenType == Lex::TOK_CLOSE_ROUND)
                   && state.m_PendingID.GetCount() > 0 && !state.PendingIsOperatorName()
                   && IsParameterList(state.m_RoundBraces.Top()) && (!state.GetActScope()
                       || state.GetActScope()->GetType() != SCOPE_FUNCTION)) {
            // An unnamed parameter of a named type (`void g(A, std::string)`):
            // the pending name is its type.
            if (Node* id = state.CreateIDNode())
                if (NodeType* type = state.CreateType(static_cast<NodeID*>(id), true))
                    state.CreateVarDecl(*type);
        }
        if (!state.m_pVarDecl)
            return false;
    }
    if (Node* id = state.CreateIDNode()) {
        if (NodeVariableList* list = state.m_pVarDecl->GetVariableList()) {
            NodeAssignment* assignment = new NodeAssignment(static_cast<NodeID*>(id));
            list->AddChild(assignment);
        }
    }
    int type = state.m_ActTokenType;
    if (!state.m_pActToken)
        return true;
    if (type == Lex::TOK_SEMI_COLON || type == Lex::TOK_CLOSE_ROUND
        || (type == Lex::TOK_COMMA && !state.m_RoundBraces.IsEmpty()))
        state.CloseVarDecl();
    return true;
}

bool CRoundBlockParser::OnPointerQualifier()
{
    CParserState& state = m_State;
    int type = state.m_ActTokenType;
    if (type != Lex::TOK_CONST && type != Lex::TOK_VOLATILE && type != Lex::TOK_RESTRICT)
        return false;
    // `char *const p`: the qualifier follows the type's `*` or `&` and
    // qualifies the pointer; it stays with the type, not with the name.
    Node* last = state.m_pLastNode;
    if (!last || last->GetKind() != NT_TYPE || last->GetChildCount() == 0 || state.m_PendingID.GetCount() > 0)
        return false;
    // Right after the `*` or `&`, or after a qualifier that followed it
    // (`char *const volatile p`).
    Node* before = last->ChildAt(last->GetChildCount() - 1);
    Lex::Token* token = before ? before->GetToken() : nullptr;
    if (!token)
        return false;
    bool afterPointer = before->GetKind() == NT_OPERATOR && (token->type == Lex::TOK_MUL || token->type == Lex::TOK_AND);
    bool afterQualifier = before->GetKind() == NT_MODIFIER && last->GetChildCount() > 1;
    if (!afterPointer && !afterQualifier)
        return false;
    last->AddChild(new NodeModifier(state.m_pActToken));
    return true;
}
