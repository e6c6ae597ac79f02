// The texts an interface method repeats from a member function's
// declaration, read from the tokens the module wrote, and the checks that
// decide whether a function can have an interface method at all.
#pragma once

#include "base/Str.h"

#include <functional>
#include <vector>

class FuncInfo;
class NodeFuncDecl;
class NodeFuncParams;

namespace Lex {
class Token;
}

class FuncDeclText {
public:
    // Whether a default argument (its tokens from first up to end) is kept.
    using KeepDefaultFunc = std::function<bool(Lex::Token*, Lex::Token*)>;

    // The token to report a function's problems at.
    static Lex::Token* GetReportToken(NodeFuncDecl& decl);
    // A `const` after the parameter list of the declaration.
    static bool IsConstMember(NodeFuncDecl& decl);
    // A member template (`template <...>` right before the declaration): it
    // cannot be virtual, so no interface method can forward to it.
    static bool IsMemberTemplate(NodeFuncDecl& decl);
    // operator new and operator delete (also their array forms): static
    // allocation functions of the class that made the object.
    static bool IsAllocationFunction(FuncInfo& f);

    // Names for the parameters that have none, so that a generated method can
    // pass them on: added gets "__arg<n>" for those and "" for named ones,
    // names every name in order, comma-separated. False when an unnamed
    // parameter cannot simply be named after its text (an array, a function
    // pointer, "...").
    static bool NameParams(NodeFuncParams* params, std::vector<Str>& added, Str& names);

    // The declaration text of a function for its interface method, from the
    // tokens the module wrote: the head up to the parameter list, the
    // parameters, then the qualifiers and a trailing return type. A default
    // argument is kept when keepDefault accepts it (never without it); since
    // only the last parameters may have one, dropping a default drops those
    // before it too. A parameter whose entry in added is not empty gets that
    // name after its type. `override`, `final`, `noexcept` clauses and
    // `constexpr` are left out: the interface method is a plain virtual
    // function that the units' versions override. A `(void)` parameter list
    // reads `()`, so that parameters can be put in front. Without the tokens
    // the node's printed form is used.
    static Str GetDeclaration(NodeFuncDecl& decl, KeepDefaultFunc const& keepDefault = nullptr,
                              std::vector<Str> const& added = std::vector<Str>());

    // The signature key of a function's declaration (by default its first):
    // the printed signature, with " const" for a const member function.
    static Str GetSignatureKey(FuncInfo& f, NodeFuncDecl* decl = nullptr);
};
