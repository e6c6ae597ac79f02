// Token lookups and edits on the head of a function declaration: where its
// parameter list ends, the specifiers in front of it and after it, the
// parameter names. The refinement steps of the jampack composition edit
// these tokens in place.
#pragma once

#include "base/Array.h"

namespace Lex {
class Token;
}
class NodeFuncDecl;

class FuncHeadTokens {
public:
    // The token's text; empty without one.
    static char const* Text(Lex::Token const& token);
    static bool TextIs(Lex::Token const& token, char const* text);

    // The closing parenthesis of the parameter list.
    static Lex::Token* ParamsEnd(NodeFuncDecl& decl);
    // The specifier tokens between the parameter list and the body,
    // initializer list, pure specifier or end; the first that fn accepts.
    static Lex::Token* FindAfterParams(NodeFuncDecl& decl, bool (*fn)(Lex::Token&));
    // The token that ends the head: the body's `{`, the `;`, the `:` of an
    // initializer list or a `=` (pure, defaulted, deleted).
    static Lex::Token* HeadEnd(NodeFuncDecl& decl);
    // The first token after the specifiers: the return type, a
    // destructor's `~` or the name.
    static Lex::Token* HeadStart(NodeFuncDecl& decl);
    // The declaration's own token, else the first of its name.
    static Lex::Token* NameToken(NodeFuncDecl& decl);
    // The parameters' name tokens; null for an unnamed parameter.
    static Array<Lex::Token*> ParamNames(NodeFuncDecl& decl);

    // Empties a word in place. It is not unlinked: a node's range may begin
    // or end at it.
    static void Blank(Lex::Token& token);
};
