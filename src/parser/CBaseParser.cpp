#include "parser/CBaseParser.h"

#include "parser/CParserState.h"
#include "parser/NodeBrace.h"
#include "parser/NodeFuncDef.h"
#include "parser/NodeID.h"
#include "parser/NodeInitDecl.h"
#include "parser/NodeKeyword.h"
#include "parser/NodeNSDef.h"
#include "parser/Scope.h"

namespace {

bool LastKeywordIs(CParserState const& state, int type)
{
    NodeKeyword* keyword = state.m_pLastKeyword;
    Lex::Token* token = keyword ? keyword->GetToken() : nullptr;
    return token && token->type == type;
}

} // namespace

bool CBaseParser::ProcessToken()
{
    if (CRoundBlockParser::ProcessToken())
        return true;
    Lex::Token* token = m_State.m_pActToken;
    if (!token)
        return false;
    switch (m_State.m_ActTokenType) {
    case Lex::TOK_CLOSE_CURLY:
        CloseCurly();
        return true;
    case Lex::TOK_FRIEND:
    case Lex::TOK_TYPEDEF:
        AddNode(*new NodeToken(token));
        return true;
    case Lex::TOK_OPEN_CURLY:
        OpenCurly();
        return true;
    case Lex::TOK_REGISTER:
        AddKeyword(*new NodeKeyword(token));
        return true;
    case Lex::TOK_SEMI_COLON:
        OnTokSemiColon();
        return true;
    case Lex::TOK_TEMPLATE:
        m_State.OnTemplateDef();
        return true;
    default:
        return false;
    }
}

void CBaseParser::OpenCurly()
{
    NodeBlock* block = new NodeBlock();
    AddNode(*block);
    block->m_pPrecedingNode = m_State.CreateIDNode();
    m_State.AddBlock(*block);
    OnNewBlock(*block);
    m_State.m_pActBlock = block;
    m_State.ResetActStatement();
}

void CBaseParser::CloseCurly()
{
    m_State.CloseCurly();
}

void CBaseParser::OnTokSemiColon()
{
    CreateVarDeclaration();
    m_State.ResetActStatement();
}

void CBaseParser::OnNewBlock(NodeBlock& block)
{
    Node* name = block.m_pPrecedingNode;
    if (name && name->GetKind() == NT_ID && LastKeywordIs(m_State, Lex::TOK_NAMESPACE)) {
        AddNamespace(*static_cast<NodeID*>(name), block);
        return;
    }
    if (NodeInitDecl* init = m_State.m_pInitDecl) {
        if (NodeFuncDef* def = init->GetFunc()) {
            def->SetChild(2, &block);
            m_State.EnterScope(*new FuncScope(*def));
        }
        return;
    }
    if (LastKeywordIs(m_State, Lex::TOK_ASM)) {
        m_State.EnterScope(*new AsmScope(*m_State.m_pLastKeyword));
        return;
    }
    if (m_State.m_pActBlock)
        m_State.m_pActBlock->AddChild(&block);
}

void CBaseParser::AddNamespace(NodeID& name, NodeBlock& block)
{
    NodeNSDecl* head = new NodeNSDecl(name);
    NodeNSDef* def = new NodeNSDef(*head, &block);
    m_State.AddNS(*def);
    if (m_State.m_pActBlock)
        m_State.m_pActBlock->AddChild(def);
    m_State.EnterScope(*new NSScope(*def));
}
