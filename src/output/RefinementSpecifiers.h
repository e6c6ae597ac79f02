// The specifiers of a function version that a higher layer refines. The
// renamed version becomes an ordinary method, so what describes the composed
// member (explicit, final, noexcept, default arguments) goes up to the
// highest version, and what only the composed member may carry (virtual,
// override, = default) comes off.
#pragma once

#include "base/Str.h"

namespace Lex {
class Token;
}
class NodeFuncDecl;

class RefinementSpecifiers {
public:
    // A renamed constructor or destructor (ctorOrDtor) loses `virtual`,
    // `explicit` and `= default`; any renamed function loses `final`.
    // `explicit`, `final` and `noexcept` go to top, the highest version's
    // declaration, when there is one. True when `virtual` was taken off.
    static bool MoveUp(NodeFuncDecl& decl, NodeFuncDecl* top, bool ctorOrDtor);
    // The default arguments of decl go to top where it has none.
    static void MoveDefaultArguments(NodeFuncDecl& decl, NodeFuncDecl& top);
    // The text after `=` of the parameter whose name token this is; empty
    // without a default.
    static Str DefaultArgument(Lex::Token& name);

    // Removes `override` before the return type and after the parameters;
    // true when there was one.
    static bool RemoveOverride(NodeFuncDecl& decl);
    // `= 0` after the parameter list.
    static bool IsPure(NodeFuncDecl& decl);
    // Writes the word in front of the declaration's head unless it is there.
    static void AddSpecifier(NodeFuncDecl& decl, char const* word);
    // Replaces `= default` or `= delete` by the text.
    static void ReplaceDefaulted(Lex::Token& assign, char const* text);
};
