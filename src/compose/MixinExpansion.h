// The expansion of a module's `mixin` bases: each names a class whose own
// modules are copied, under the module's name, directly below the module in
// its composed class and its transformation unit, and parsed. The first
// listed mixin ends up nearest to the module; a mixin the class holds
// already is not copied again; a mixin that leads back to a class being
// expanded is an error.
#pragma once

#include "base/Array.h"

class FOPModule;
class LayerStack;
class NodeBaseClass;

class MixinExpansion {
public:
    explicit MixinExpansion(FOPModule& module) : m_Module(module) {}

    // Expands every mixin base of the module's main class and removes it
    // from the bases; false, with an error, when a mixin cannot be applied.
    bool ProcessMixins();
    // Copies the modules of the class that base names below the module.
    bool AddMixinClass(NodeBaseClass& base);
    // Copies one module of a mixin class below the module and parses it.
    bool AddMixinRefinement(FOPModule& mixin);

    // After the modules of a class are parsed (bottom first): removes from
    // the mixin copies the member functions they declare but do not define
    // (what the mixin expects of its user) when another module of the class
    // has them, since the copy's declaration would take the place of the
    // user's function.
    static void DropProvidedDeclarations(Array<FOPModule*>& modules);
    // Keeps the access of members around mixin copies: each copy's part and
    // the part after a copy begin with the access label of their own class
    // key, and the class key of a lowest copy, whose head is written, is the
    // class's own.
    static void KeepAccessAroundCopies(Array<FOPModule*>& modules);
    // Marks the classes of the stack that are used only as mixins: some
    // class holds copies of them and none names them otherwise. What a
    // class names and holds comes from its modules when it was parsed in
    // this run, else from its dependency file.
    static void FindMixinOnlyClasses(LayerStack& stack);

private:
    FOPModule& m_Module;
};
