#include <iostream>

// The capacity is enforced: a value pushed onto a full stack is dropped.
refines class Stack {
public:
    void push(int x)
    {
        if (size() < m_capacity)
            super::push(x);
        else
            std::cout << "stack full, " << x << " dropped" << std::endl;
    }
};
