// Queries and edits of the token lists and declarations of the parse model,
// shared by the transformations and the composition: skipping white space
// and comments, finding `= default`/`= delete`, unlinking declarations,
// making text tokens. Unlinked tokens stay alive: nodes may still point at
// them.
#pragma once

#include "base/Array.h"

class FuncInfo;
class NodeFuncDecl;
class NodeFuncParams;

namespace Lex {
class Token;
}

class SyntaxEdit {
public:
    // White space and comments, which the token look-ups pass over.
    static bool IsSkipped(Lex::Token const& token);
    // The next token after token that is not skipped; null at the end.
    static Lex::Token* NextNonWhite(Lex::Token* token);
    // An identifier used by its plain name: not a member after `.` or `->`,
    // not qualified.
    static bool IsPlainName(Lex::Token& t);
    // The position of the token with t's text among names; -1 when absent.
    static int FindName(Array<Lex::Token*> const& names, Lex::Token const& t);

    // The `=` of `= default` or `= delete` after the parameters; null when
    // the declaration has neither.
    static Lex::Token* DefaultedOrDeleted(NodeFuncDecl& decl);
    // Unlinks a member declaration from its leading specifiers through its
    // `;`; the tokens stay alive.
    static void DropDeclaration(NodeFuncDecl& decl);
    // Unlinks the token from its list; the token stays alive.
    static void DeleteToken(Lex::Token& token);
    // Makes the declaration inline unless it is a pointcut.
    static void MakeInline(NodeFuncDecl& decl);
    // A new free text token of the C++ language.
    static Lex::Token* NewTextToken(char const* text);

    // The list declares at least one parameter (`(void)` declares none).
    static bool HasParams(NodeFuncParams& params);
    // Some parameter has no name, so a call cannot pass it on.
    static bool HasUnnamedParams(NodeFuncParams& params);
    // An operator or conversion function ("operator..." names).
    static bool IsOperatorFunction(FuncInfo& f);
};
