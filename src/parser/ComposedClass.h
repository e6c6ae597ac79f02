// A class composed from the modules of the layers, as the function-body
// parser asks about it: its members by name, and the other composed classes
// of the same composition. The composition driver implements it.
#pragma once

class MemberInfo;

class ComposedClass {
public:
    virtual ~ComposedClass() {}

    // The member of that name; null when there is none (or no name is given).
    virtual MemberInfo* GetMember(char const* name) = 0;
    // The composed class of that name in the same composition; null when
    // there is none.
    virtual ComposedClass* FindComposedClass(char const* name) = 0;
};
