#include <iostream>

// Reports every push and pop, and the count when the stack goes away.
refines class Stack {
public:
    Stack(int capacity) { std::cout << "stack of " << capacity << " created" << std::endl; }
    ~Stack() { std::cout << "stack destroyed after " << pushes() << " pushes" << std::endl; }

    void push(int x)
    {
        std::cout << "push " << x << std::endl;
        super::push(x);
    }
    int pop()
    {
        int x = super::pop();
        std::cout << "pop " << x << std::endl;
        return x;
    }
};
