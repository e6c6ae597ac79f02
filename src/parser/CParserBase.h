// Root of the parser chain. A parser looks at the parser state's current
// token; everything in progress lives in the state, never in a parser.
#pragma once

class CParserState;
class Node;
class NodeKeyword;

class CParserBase {
public:
    explicit CParserBase(CParserState& state) : m_State(state) {}
    virtual ~CParserBase() {}
    CParserBase(CParserBase const&) = delete;
    CParserBase& operator=(CParserBase const&) = delete;

    void AddNode(Node& node);
    void AddKeyword(NodeKeyword& node);

    CParserState& GetState() const { return m_State; }

protected:
    CParserState& m_State;
};
