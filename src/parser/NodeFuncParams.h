// A parameter list: its one child is the `(...)` group whose children are
// the parameter declarations (a position may be null), with the list's info.
#pragma once

#include "parser/Info.h"
#include "parser/Node.h"

class NodeRoundBrace;

class NodeFuncParams : public Node {
public:
    explicit NodeFuncParams(NodeRoundBrace* brace);

    NodeRoundBrace* GetBrace() const;
    int GetParamCount() const;
    // Parameter index, null for an empty position or past the end.
    Node* GetParam(int index) const;

    // "(", the present parameters' texts joined by ",", ")".
    Str AsString() override;

    // Adds each named parameter declaration with its type to the info.
    void InitParamListInfo();
    // The declarators' texts of the named parameter declarations, separator
    // between them; empty for no parameters.
    Str GetParamNames(Str const& separator);
    // The name token of each parameter, in order; null for a parameter
    // without a name.
    Array<Lex::Token*> GetParamNameTokens();

    ParamListInfo& GetParamListInfo() { return m_ParamListInfo; }

private:
    ParamListInfo m_ParamListInfo;
};
