// A list of fixed-size buckets that only grows at its end. The first bucket
// lies inside the list; further ones are allocated as the last one fills.
#pragma once

namespace Lex {

template <class T, int N>
class BCList {
public:
    class Bucket {
    public:
        Bucket() : prev(nullptr), next(nullptr), write(items), end(items + N) {}
        Bucket(Bucket const&) = delete;
        Bucket& operator=(Bucket const&) = delete;
        // Destroys and frees the chain of buckets behind this one.
        ~Bucket()
        {
            Bucket* b = next;
            next = nullptr;
            while (b) {
                Bucket* after = b->next;
                b->next = nullptr;
                delete b;
                b = after;
            }
        }

        bool full() const { return write == end; }
        int count() const { return int(write - items); }

        Bucket* prev;
        Bucket* next;
        T* write; // next free slot
        T* end;   // one past the last slot
        T items[N];
    };

    BCList() : m_last(&m_first) {}
    BCList(BCList const&) = delete;
    BCList& operator=(BCList const&) = delete;

    // Stores item in the next free slot, opening a new bucket when the last
    // one is full; returns the slot.
    T* append(T const& item)
    {
        if (m_last->full()) {
            Bucket* b = new Bucket;
            b->prev = m_last;
            m_last->next = b;
            m_last = b;
        }
        *m_last->write = item;
        return m_last->write++;
    }

    Bucket* first() { return &m_first; }
    Bucket* last() { return m_last; }
    bool empty() const { return m_first.write == m_first.items; }

private:
    Bucket m_first;
    Bucket* m_last;
};

} // namespace Lex
