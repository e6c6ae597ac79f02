// The declaration that names a class ahead of its definition, on one line,
// in the class's namespace blocks, with its class key and its template head
// without default arguments: "namespace a { template <class T> struct X; }".
#pragma once

#include "base/Str.h"

class NodeClassDef;

class ForwardDeclaration {
public:
    // The declaration of the class defined by cls under the name; empty
    // without a class head, a name, or with a key other than class, struct
    // or union.
    static Str GetText(NodeClassDef* cls, Str const& name);
};
