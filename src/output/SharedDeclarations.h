// What a module of a class composed per binding unit hands to the class's
// interface, from which every unit's class inherits: the include lines in
// front of the class, the types declared in its body and its bases as
// written.
#pragma once

#include "base/Str.h"

class ClassInterface;
class FOPModule;
class NodeBaseClass;
class TransformedModule;

class SharedDeclarations {
public:
    // The unconditional include lines before the module's class; one inside
    // #if .. #endif is left to the module's own header.
    static void CollectIncludes(FOPModule& module, ClassInterface& cls);
    // Moves the types declared directly in the class body (enums, aliases,
    // typedefs, nested class definitions) into the interface, with the
    // access they had; private becomes protected, so the units see them.
    static void MoveNestedTypes(FOPModule& module, ClassInterface& cls);
    // Declares the base, a composed class named name, as the module did: a
    // virtual base stays virtual, template arguments stay.
    static void AddBase(TransformedModule& cls, NodeBaseClass& base, Str const& name);
};
