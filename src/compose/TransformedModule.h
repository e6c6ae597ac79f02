// A composed class: the modules of one name across the layers of a
// composition, composed into one class. It keeps the members of all its
// modules by name, so that function bodies can be checked for member uses.
#pragma once

#include "base/Map.h"

class LayerStack;
class MemberInfo;

class TransformedModule {
public:
    explicit TransformedModule(LayerStack& stack);
    TransformedModule(TransformedModule const&) = delete;
    TransformedModule& operator=(TransformedModule const&) = delete;

    // The member registered under the name; null when there is none (or no
    // name is given).
    MemberInfo* GetMember(char const* name);

    // The stack that created the class; not owned.
    LayerStack* m_pLayerStack;
    // The member infos of the function declarations and member variables of
    // all modules by name; a later module's member replaces an earlier one
    // of the same name. The infos are not owned.
    MapStringTo<MemberInfo*> m_Members;
};
