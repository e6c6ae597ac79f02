// Watches a parse: the file name first, then every token the parse loop
// stops at. Tokens that the parsers pass over by themselves (function
// bodies, initializer lists, pre-processor lines) are not reported.
#pragma once

namespace Lex {
class Token;
}

class CTokenListener {
public:
    virtual void OnFile(char const* name) = 0;
    virtual void OnToken(Lex::Token& token) = 0;

protected:
    ~CTokenListener() {}
};
