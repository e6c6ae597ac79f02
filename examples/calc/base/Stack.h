#include <vector>

// A stack of integers with a capacity that the base layer does not enforce.
class Stack {
public:
    Stack(int capacity) : m_capacity(capacity) {}

    void push(int x) { m_items.push_back(x); }
    int pop()
    {
        int x = m_items.back();
        m_items.pop_back();
        return x;
    }
    int top() const { return m_items.back(); }
    int size() const { return (int)m_items.size(); }

protected:
    std::vector<int> m_items;
    int m_capacity;
};
