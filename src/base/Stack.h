// A stack on a plain array; the array operations are not part of its interface.
#pragma once

#include "base/Array.h"

#include <cassert>

template <class T>
class Stack : private Array<T, T const&> {
    using Base = Array<T, T const&>;

public:
    Stack() {}
    ~Stack() override {}

    void Push(T const& value) { Base::Add(value); }
    // Pop and Top need a non-empty stack.
    T Pop()
    {
        assert(this->m_Count > 0);
        return this->m_Alloc.m_pBuffer[--this->m_Count];
    }
    T Top() const
    {
        assert(this->m_Count > 0);
        return this->m_Alloc.m_pBuffer[this->m_Count - 1];
    }
    bool IsEmpty() const { return this->m_Count == 0; }
    int GetCount() const { return this->m_Count; }
    void RemoveAll() { Base::RemoveAll(); }
};
