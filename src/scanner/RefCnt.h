// Reference-counted bodies and the handles that share them.
#pragma once

#include <cstdint>

namespace Lex {

// Base of every shared body. Bodies are created with new and deleted by the
// release that drops their count to zero.
class RefCnt {
public:
    RefCnt() : m_count(0) {}
    virtual ~RefCnt() {}

    int32_t count() const { return m_count; }

private:
    friend class SmartPtr;
    RefCnt(RefCnt const&) = delete;
    RefCnt& operator=(RefCnt const&) = delete;

    int32_t m_count;
};

// A handle counting as one reference of its body (null for an empty handle).
class SmartPtr {
public:
    SmartPtr() : m_body(nullptr) {}
    explicit SmartPtr(RefCnt* body) : m_body(nullptr) { data(body); }
    SmartPtr(SmartPtr const& other) : m_body(other.m_body) { acquire(m_body); }
    ~SmartPtr() { clear(); }

    // Takes the new reference before releasing the old one, so assigning a
    // handle from itself (or from a handle of the same body) keeps the body.
    SmartPtr& operator=(SmartPtr const& other) { data(other.m_body); return *this; }

    void data(RefCnt* body)
    {
        acquire(body);
        RefCnt* old = m_body;
        m_body = body;
        release(old);
    }
    RefCnt* data() const { return m_body; }

    void clear()
    {
        RefCnt* old = m_body;
        m_body = nullptr;
        release(old);
    }

private:
    static void acquire(RefCnt* body)
    {
        if (body)
            ++body->m_count;
    }
    static void release(RefCnt* body)
    {
        if (body && --body->m_count == 0)
            delete body;
    }

    RefCnt* m_body;
};

} // namespace Lex
