#include "parser/CParserBase.h"

#include "parser/CParserState.h"

void CParserBase::AddNode(Node& node)
{
    m_State.AddNode(node);
}

void CParserBase::AddKeyword(NodeKeyword& node)
{
    m_State.AddKeyword(node);
}
