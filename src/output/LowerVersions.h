// The versions of a method that the layers below a module give its class,
// by the name each had before the transformation renamed it, for the
// messages about a refinement that matches none of them.
#pragma once

#include "base/Str.h"

class FOPModule;
class FuncInfo;
class NodeFuncDecl;

class LowerVersions {
public:
    // "f(int) at <file>:<line>, f() const at <file>:<line>": the methods
    // named name of the modules below module, lowest first; constructors
    // are named like the class. Empty when there is none.
    static Str List(FOPModule& module, Str const& name);
    // The declaration's signature key ("f(int) const") before renaming.
    static Str OriginalKey(FOPModule& module, NodeFuncDecl& decl);
    // The name part of a signature key.
    static Str KeyName(Str const& key);
    // "<file>:<line>" of the declaration's name; empty without one.
    static Str Where(NodeFuncDecl& decl);
};
