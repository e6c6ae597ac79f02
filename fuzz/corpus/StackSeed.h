#ifndef STACK_H
#define STACK_H
#include <vector>

class Stack {
public:
    Stack() : m_count(0) {}
    virtual ~Stack() {}
    void push(int x) { m_items.push_back(x); ++m_count; }
    int pop();
    int size() const { return m_count; }
protected:
    std::vector<int> m_items;
    int m_count;
};

int Stack::pop()
{
    int x = m_items.back();
    m_items.pop_back();
    --m_count;
    return x;
}
#endif
