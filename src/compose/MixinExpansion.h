// The expansion of a module's `mixin` bases: each names a class whose own
// modules are copied, under the module's name, directly below the module in
// its composed class and its transformation unit, and parsed. The first
// listed mixin ends up nearest to the module; a mixin the class holds
// already is not copied again; a mixin that leads back to a class being
// expanded is an error.
#pragma once

class FOPModule;
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

private:
    FOPModule& m_Module;
};
