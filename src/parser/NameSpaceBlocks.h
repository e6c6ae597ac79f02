// The namespace blocks around a class definition, outermost first, and the
// texts that reopen and close them when the class is written elsewhere.
#pragma once

#include "base/Array.h"
#include "base/Str.h"

class NodeClassDef;
class NodeNSDef;

class NameSpaceBlocks {
public:
    // The blocks around cls; none for a class at file scope or no class.
    explicit NameSpaceBlocks(NodeClassDef const* cls);

    void GetBlocks(Array<NodeNSDef*>& list) const;
    // The blocks reopened, one line each ("namespace a::b {\n"), and closed
    // again, innermost first ("} // namespace a::b\n"); empty at file scope.
    Str GetOpenText() const;
    Str GetCloseText() const;
    // The qualified name of the blocks ("a::b" for nested blocks and for
    // "namespace a::b"; an unnamed block counts as "(unnamed)").
    Str GetName() const;

private:
    // The head of a block as it is reopened: "[inline ]namespace <name and
    // what follows it up to the brace>"; name gets the block's qualified
    // name, empty for an unnamed block.
    static Str Head(NodeNSDef& ns, Str& name);

    Array<NodeNSDef*> m_Blocks;
};
