// One composed class's node in the class-access graph: the classes it
// accesses and the classes that access it. The dynamic-access flag spreads
// from classes with a dynamically loaded binding unit to every class that
// reaches them through accesses.
#pragma once

#include "base/Map.h"

class TransformedModule;

class ClassAccessGraphNode {
public:
    enum DynamicInstAccess : int { DynAccessNotSet = 0, DynAccessSet = 1 };

    explicit ClassAccessGraphNode(TransformedModule& owner);
    ClassAccessGraphNode(ClassAccessGraphNode const&) = delete;
    ClassAccessGraphNode& operator=(ClassAccessGraphNode const&) = delete;

    // The owner accesses the given class.
    void StoreClassAccess(TransformedModule* accessed);
    // The given class accesses the owner.
    void AddAccessingClass(TransformedModule* accessing);
    // Sets the flag (to 1 when the owner delegates dynamically) and hands a
    // set flag on to every accessing class; a node flagged before stops.
    void PropagateDynAccessFlag(DynamicInstAccess access);

    Set<TransformedModule*> m_Accessed;
    Set<TransformedModule*> m_Accessing;
    TransformedModule* m_pOwner;
    DynamicInstAccess m_DynAccess;
};
