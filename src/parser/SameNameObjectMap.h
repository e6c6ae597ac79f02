// Definitions by their simple name: for each interned name the definitions
// of that name in order of addition. The same definition reached twice
// (same qualified name) is listed once; definitions of one simple name in
// different namespaces are all listed. The map owns the per-name arrays,
// not the definitions.
#pragma once

#include "base/Array.h"
#include "base/Map.h"
#include "base/Name.h"
#include "parser/NodeClassDecl.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeID.h"
#include "parser/NodeNSDef.h"

// The name node of a definition: a class's name in its head, a namespace's
// name in its head.
inline NodeID* NameNodeOf(NodeClassDef& def)
{
    NodeClassDecl* head = def.GetClassDecl();
    return head ? head->GetID() : nullptr;
}

inline NodeID* NameNodeOf(NodeNSDef& def)
{
    Node* head = def.ChildAt(0);
    Node* id = head ? head->ChildAt(0) : nullptr;
    return id && id->GetKind() == NT_ID ? static_cast<NodeID*>(id) : nullptr;
}

template <class T>
class CSameNameObjectMap : public Map<Name*, Array<T*>*> {
public:
    CSameNameObjectMap() : m_Added(0)
    {
        this->InitBuckets(29);
        this->SetIndexed();
    }
    ~CSameNameObjectMap() override
    {
        for (auto* entry = this->GetFirst(); entry; entry = this->GetNext(entry))
            delete entry->GetValue();
    }

    void Add(T& object)
    {
        NodeID* id = NameNodeOf(object);
        Name* key = id ? id->GetName() : nullptr;
        auto* entry = this->Find(key);
        if (!entry)
            entry = this->Put(key, new Array<T*>);
        AddToList(*entry->GetValue(), object);
    }

    // Appends the object unless one with the same qualified name is listed.
    void AddToList(Array<T*>& list, T& object)
    {
        QualName* name = QualNameOf(object);
        for (int i = 0; i < list.GetCount(); ++i)
            if (QualNameOf(*list[i]) == name)
                return;
        list.Add(&object);
        ++m_Added;
    }

    // Every object of every name: buckets in order, each chain from its
    // head, each name's objects in order of addition.
    void GetAllValues(Array<T*>& values) const
    {
        for (auto* entry = this->GetFirst(); entry; entry = this->GetNext(entry))
            values.Append(*entry->GetValue());
    }

    // Every name, in the same order.
    void GetAllNames(Array<Name*>& names) const
    {
        for (auto* entry = this->GetFirst(); entry; entry = this->GetNext(entry))
            names.Add(entry->GetKey());
    }

    // The first object of the first name in iteration order; null when empty.
    T* GetFirstValue() const
    {
        for (auto* entry = this->GetFirst(); entry; entry = this->GetNext(entry))
            if (entry->GetValue()->GetCount() > 0)
                return (*entry->GetValue())[0];
        return nullptr;
    }

    // The number of objects added.
    int GetAddedCount() const { return m_Added; }

private:
    static QualName* QualNameOf(T& object)
    {
        NodeID* id = NameNodeOf(object);
        return id ? id->GetQualName() : nullptr;
    }

    int m_Added;
};
