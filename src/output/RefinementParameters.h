// The parameters of composed constructors and of calls of refined versions.
// A refining version passes its parameters on to the lower one; the
// initializers of all layers' constructors run in the highest one, before
// every layer's body, so they must keep the parameters intact and use the
// names the highest constructor gives them.
#pragma once

#include "base/Str.h"

class NodeFuncDecl;
class NodeFuncDef;
class NodeFuncParams;

class RefinementParameters {
public:
    // The parameter names of decl as the arguments of a call of the refined
    // version, joined by separator. An rvalue reference parameter is an
    // lvalue by its name: it is passed on as an rvalue again.
    static Str CallArguments(NodeFuncDecl& decl, NodeFuncParams& params, char const* separator);
    // `std::move(p)` and `std::forward<T>(p)` of a parameter in def's
    // initializers become `(p)`: the layers' bodies still see the values.
    static void KeepInInitializers(NodeFuncDef& def);
    // The initializers' uses of def's parameters take the names that the
    // parameters at the same places of target, the refining constructor,
    // have; an error where target leaves one unnamed.
    static void RenameInInitializers(NodeFuncDef& def, NodeFuncDef& target);
    // Comments out the names of parameters def's body does not use: the
    // renamed lowest constructor would warn about them.
    static void HideUnused(NodeFuncDef& def);
};
