// Tree nodes: an ordered list of child pointers and a parent pointer. A node
// does not own its children. T is the class that derives from the node.
#pragma once

#include "base/Array.h"
#include "base/Str.h"

template <class T>
class GraphNode {
public:
    GraphNode() : m_pParent(nullptr) {}
    virtual ~GraphNode() {}

    // Appends the child (null too); a child that is not null gets this node
    // as its parent. It is not taken out of a former parent's children.
    void AddChild(T* child)
    {
        m_Childs.Add(child);
        if (child)
            child->m_pParent = static_cast<T*>(this);
    }
    int GetChildCount() const { return m_Childs.GetCount(); }
    T* GetChild(int index) const { return m_Childs[index]; }
    T* GetParent() const { return m_pParent; }

    Array<T*> m_Childs;
    T* m_pParent;
};

// A node whose default text joins the texts of its children by a separator.
template <class T>
class PrintableGraphNode : public GraphNode<T> {
public:
    PrintableGraphNode() : m_pSeparator(" ") {}
    ~PrintableGraphNode() override {}

    virtual Str AsString() { return PrintChilds(); }
    virtual Str PrintChilds() { return PrintChilds(0, this->GetChildCount()); }
    // The texts of the children from..to (both inclusive, bounded by the
    // number of children), each non-null child other than child 0 preceded by
    // the separator. A negative from counts as 0.
    virtual Str PrintChilds(int from, int to)
    {
        Str text;
        int count = this->GetChildCount();
        if (from < 0)
            from = 0;
        if (from >= count || to < from)
            return text;
        for (int i = from; i < count && i <= to; ++i) {
            T* child = this->m_Childs[i];
            if (!child)
                continue;
            if (i != 0)
                text += m_pSeparator;
            text += child->AsString();
        }
        return text;
    }

    char const* m_pSeparator;
};
