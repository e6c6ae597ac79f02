// Growable arrays. An array keeps the count of elements in use; its allocator
// owns the slot buffer, its capacity and the grow step, and decides
// how elements reach a new buffer. A buffer grows at least to twice its
// capacity (at least 4 slots), so n additions cost O(n), and never shrinks. Plain arrays copy bytes; object arrays move their objects
// bitwise and keep an empty object in every slot that is not in use.
//
// T is the element type and A the type in which an element is handed to
// insertion (T const& for plain arrays; char const* for arrays of Str).
#pragma once

#include "scanner/BlockPool.h"

#include <algorithm>
#include <cassert>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

namespace ArrayMem {

// Slot buffers come from the block pool: most arrays are small.
inline void* Alloc(size_t size)
{
    return Lex::BlockPool::AllocBytes(size);
}

inline void Free(void* buffer)
{
    Lex::BlockPool::FreeBytes(buffer);
}

// Bitwise moves; the void* casts state that element objects are relocated
// as raw bytes on purpose.
template <class T>
void Copy(T* to, T const* from, size_t n)
{
    if (n)
        memcpy(static_cast<void*>(to), static_cast<void const*>(from), n * sizeof(T));
}

template <class T>
void Move(T* to, T const* from, size_t n)
{
    if (n)
        memmove(static_cast<void*>(to), static_cast<void const*>(from), n * sizeof(T));
}

} // namespace ArrayMem

// Allocator of plain values: a new buffer receives a byte copy.
template <class T>
class BlockAlloc {
public:
    static constexpr bool m_bHoldsObjects = false;

    BlockAlloc() : m_pBuffer(nullptr), m_Capacity(0), m_GrowStep(0) {}
    ~BlockAlloc()
    {
        if (m_pBuffer)
            ArrayMem::Free(m_pBuffer);
    }
    BlockAlloc(BlockAlloc const&) = delete;
    BlockAlloc& operator=(BlockAlloc const&) = delete;

    // Fills a new buffer during growth; m_Capacity is already the new one.
    virtual void InitNewBuf(T* buffer, size_t count, size_t oldCapacity)
    {
        (void)oldCapacity;
        ArrayMem::Copy(buffer, m_pBuffer, count);
    }

    // Shrinks (or sets) the buffer to exactly n slots, keeping the first ones.
    virtual void FreeBuf(size_t n)
    {
        if (!m_pBuffer)
            return;
        T* buffer = static_cast<T*>(ArrayMem::Alloc(n * sizeof(T)));
        ArrayMem::Copy(buffer, m_pBuffer, std::min(n, m_Capacity));
        ArrayMem::Free(m_pBuffer);
        m_pBuffer = buffer;
        m_Capacity = n;
    }

    T* m_pBuffer;
    size_t m_Capacity;
    size_t m_GrowStep;
};

// Allocator of objects: every slot of the buffer holds a constructed object,
// an empty one in the slots that are not in use.
template <class T>
class ObjBlockAlloc : public BlockAlloc<T> {
public:
    static constexpr bool m_bHoldsObjects = true;

    ObjBlockAlloc() {}
    ~ObjBlockAlloc()
    {
        Destruct(0, this->m_Capacity);
    }

    // Moves the count objects in use, drops the spare objects of the old
    // buffer and puts an empty object in every other slot of the new one.
    void InitNewBuf(T* buffer, size_t count, size_t oldCapacity) override
    {
        ArrayMem::Copy(buffer, this->m_pBuffer, count);
        Destruct(count, oldCapacity);
        Construct(buffer, count, this->m_Capacity);
    }

    void FreeBuf(size_t n) override
    {
        if (!this->m_pBuffer)
            return;
        size_t capacity = this->m_Capacity;
        Destruct(n, capacity);
        T* buffer = static_cast<T*>(ArrayMem::Alloc(n * sizeof(T)));
        ArrayMem::Copy(buffer, this->m_pBuffer, std::min(n, capacity));
        Construct(buffer, capacity, n);
        ArrayMem::Free(this->m_pBuffer);
        this->m_pBuffer = buffer;
        this->m_Capacity = n;
    }

    // Empty objects in the slots first to end - 1 of buffer.
    void Construct(T* buffer, size_t first, size_t end)
    {
        for (size_t i = first; i < end; ++i)
            new (static_cast<void*>(buffer + i)) T();
    }

    // Destroys the objects in the slots first to end - 1 of the own buffer.
    void Destruct(size_t first, size_t end)
    {
        for (size_t i = first; i < end; ++i)
            this->m_pBuffer[i].~T();
    }
};

template <class T, class A, class L>
class ArrayBase {
public:
    ArrayBase() : m_Count(0) {}
    ArrayBase(ArrayBase const& other) : m_Count(0) { *this = other; }
    virtual ~ArrayBase() {}

    int GetCount() const { return m_Count; }
    size_t GetCapacity() const { return m_Alloc.m_Capacity; }

    T& operator[](int index)
    {
        assert(index >= 0 && index < m_Count);
        return m_Alloc.m_pBuffer[index];
    }
    T const& operator[](int index) const
    {
        assert(index >= 0 && index < m_Count);
        return m_Alloc.m_pBuffer[index];
    }

    // Appends; returns the index of the new element. The value may be an
    // element of this array.
    int Add(A value)
    {
        T* old = GrowKeep(m_Count + 1);
        int index = m_Count;
        m_Alloc.m_pBuffer[index] = value;
        m_Count = index + 1;
        ArrayMem::Free(old);
        return index;
    }

    // Inserts before the element at index; index = count appends.
    virtual void InsertAt(int index, A value)
    {
        assert(index >= 0 && index <= m_Count);
        T keep(value);
        GrowBuf(m_Count + 1);
        T* buffer = m_Alloc.m_pBuffer;
        ArrayMem::Move(buffer + index + 1, buffer + index, static_cast<size_t>(m_Count - index));
        buffer[index] = keep;
        ++m_Count;
    }

    // Removes n elements from index on.
    virtual void RemoveAt(int index, int n)
    {
        assert(index >= 0 && n >= 0 && index + n <= m_Count);
        T* buffer = m_Alloc.m_pBuffer;
        if (index + n != m_Count)
            ArrayMem::Move(buffer + index, buffer + index + n, static_cast<size_t>(m_Count - index - n));
        m_Count -= n;
    }

    // Makes room for at least n elements; a negative n does nothing.
    void GrowBuf(int n, bool freeOld = true)
    {
        T* old = GrowKeep(n);
        if (freeOld)
            ArrayMem::Free(old);
    }

    // Sets the number of elements in use. New plain slots are not
    // initialised; object arrays destroy the elements they give up.
    void SetCount(int n)
    {
        assert(n >= 0);
        if (n == m_Count)
            return;
        if (n > m_Count) {
            GrowBuf(n);
        } else if constexpr (L::m_bHoldsObjects) {
            m_Alloc.Destruct(static_cast<size_t>(n), static_cast<size_t>(m_Count));
            m_Alloc.Construct(m_Alloc.m_pBuffer, static_cast<size_t>(n), static_cast<size_t>(m_Count));
        }
        m_Count = n;
    }

    // Empties the array; buffer and capacity remain.
    void RemoveAll()
    {
        if (m_Count != 0)
            SetCount(0);
    }

    ArrayBase& operator=(ArrayBase const& other)
    {
        if (this == &other)
            return *this;
        SetCount(other.m_Count);
        CopyElements(0, other);
        return *this;
    }

    // Appends the elements of another array; appending an array to itself
    // does nothing.
    void Append(ArrayBase const& other)
    {
        if (this == &other)
            return;
        int start = m_Count;
        SetCount(start + other.m_Count);
        CopyElements(start, other);
    }

protected:
    // The growth rule: to n slots, but at least to twice the capacity, to 4
    // slots and by the grow step. Returns the old buffer, not yet freed, when
    // a new one was made, so that a value read from it can still be copied.
    T* GrowKeep(int n)
    {
        size_t capacity = m_Alloc.m_Capacity;
        if (n <= 0 || static_cast<size_t>(n) <= capacity)
            return nullptr;
        size_t newCapacity = std::max({static_cast<size_t>(n), 2 * capacity, size_t(4),
                                       capacity + m_Alloc.m_GrowStep});
        T* buffer = static_cast<T*>(ArrayMem::Alloc(newCapacity * sizeof(T)));
        T* old = m_Alloc.m_pBuffer;
        m_Alloc.m_Capacity = newCapacity;
        m_Alloc.InitNewBuf(buffer, static_cast<size_t>(m_Count), capacity);
        m_Alloc.m_pBuffer = buffer;
        return capacity != 0 ? old : nullptr;
    }

    void CopyElements(int start, ArrayBase const& other)
    {
        T* buffer = m_Alloc.m_pBuffer;
        if constexpr (L::m_bHoldsObjects) {
            for (int i = 0; i < other.m_Count; ++i)
                buffer[start + i] = other.m_Alloc.m_pBuffer[i];
        } else {
            if (other.m_Count > 0)
                ArrayMem::Copy(buffer + start, other.m_Alloc.m_pBuffer, static_cast<size_t>(other.m_Count));
        }
    }

    int m_Count;
    L m_Alloc;
};

// Array of plain values, in practice pointers.
template <class T, class A = T const&>
class Array : public ArrayBase<T, A, BlockAlloc<T> > {
public:
    Array() {}
    ~Array() override {}
};

// Array of objects that own storage (Str, Lex::Location). Elements are
// assigned from A with T's assignment and destroyed when removed.
template <class T, class A = T const&>
class ObjArray : public ArrayBase<T, A, ObjBlockAlloc<T> > {
public:
    ObjArray() {}
    ~ObjArray() override {}

    void InsertAt(int index, A value) override
    {
        assert(index >= 0 && index <= this->m_Count);
        if constexpr (std::is_reference<A>::value) {
            // The value may be an element of this array, which the shift moves.
            T keep(value);
            Insert(index, keep);
        } else {
            Insert(index, value);
        }
    }

    void RemoveAt(int index, int n) override
    {
        assert(index >= 0 && n >= 0 && index + n <= this->m_Count);
        size_t first = static_cast<size_t>(index);
        size_t end = static_cast<size_t>(index + n);
        size_t count = static_cast<size_t>(this->m_Count);
        this->m_Alloc.Destruct(first, end);
        T* buffer = this->m_Alloc.m_pBuffer;
        if (end != count)
            ArrayMem::Move(buffer + first, buffer + end, count - end);
        this->m_Alloc.Construct(buffer, count - static_cast<size_t>(n), count);
        this->m_Count -= n;
    }

private:
    template <class V>
    void Insert(int index, V const& value)
    {
        T* old = this->GrowKeep(this->m_Count + 1);
        T* buffer = this->m_Alloc.m_pBuffer;
        int count = this->m_Count;
        buffer[count].~T();
        ArrayMem::Move(buffer + index + 1, buffer + index, static_cast<size_t>(count - index));
        new (static_cast<void*>(buffer + index)) T();
        buffer[index] = value;
        this->m_Count = count + 1;
        ArrayMem::Free(old);
    }
};
