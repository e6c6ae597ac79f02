// The scanner layer's growable array: items, capacity, count and an increment
// that doubles at every growth. Indices are not checked.
#pragma once

#include <cstddef>

namespace Lex {

template <class T>
class Array {
public:
    explicit Array(int size = 0, int increment = 5)
        : m_items(size > 0 ? new T[size] : nullptr), m_size(size), m_count(0), m_increment(increment)
    {
    }
    Array(Array const& other)
        : m_items(other.m_size > 0 ? new T[other.m_size] : nullptr),
          m_size(other.m_size), m_count(other.m_count), m_increment(other.m_increment)
    {
        for (int i = 0; i < m_count; ++i)
            m_items[i] = other.m_items[i];
    }
    Array& operator=(Array const& other)
    {
        if (this != &other) {
            Array copy(other);
            swap(copy);
        }
        return *this;
    }
    ~Array() { delete[] m_items; }

    T& operator[](int i) { return m_items[i]; }
    T const& operator[](int i) const { return m_items[i]; }

    int count() const { return m_count; }
    int size() const { return m_size; }
    int increment() const { return m_increment; }
    bool empty() const { return m_count == 0; }

    // Makes room for index i: while the capacity is not above i it grows by
    // the increment, and the increment doubles.
    void grow(int i)
    {
        if (m_size > i)
            return;
        int size = m_size;
        while (size <= i) {
            size += m_increment > 0 ? m_increment : 1;
            m_increment *= 2;
        }
        T* items = new T[size];
        for (int k = 0; k < m_count; ++k)
            items[k] = m_items[k];
        delete[] m_items;
        m_items = items;
        m_size = size;
    }

    void append(T const& item)
    {
        grow(m_count);
        m_items[m_count++] = item;
    }
    // Stores item at index i, growing and extending the count as needed.
    void set(int i, T const& item)
    {
        grow(i);
        m_items[i] = item;
        if (m_count <= i)
            m_count = i + 1;
    }
    T& last() { return m_items[m_count - 1]; }
    void remove_last()
    {
        if (m_count > 0)
            m_items[--m_count] = T();
    }
    void clear()
    {
        for (int i = 0; i < m_count; ++i)
            m_items[i] = T();
        m_count = 0;
    }

    void swap(Array& other)
    {
        T* items = m_items; m_items = other.m_items; other.m_items = items;
        int n = m_size; m_size = other.m_size; other.m_size = n;
        n = m_count; m_count = other.m_count; other.m_count = n;
        n = m_increment; m_increment = other.m_increment; other.m_increment = n;
    }

private:
    T* m_items;
    int m_size;
    int m_count;
    int m_increment;
};

// Constants shared by the arrays of pointers.
struct VoidPtrArray {
    static constexpr int default_init_size = 5;
    static constexpr int default_increment = 5;
};

} // namespace Lex
