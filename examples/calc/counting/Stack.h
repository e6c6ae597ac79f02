// Counts the values pushed.
refines class Stack {
public:
    Stack(int capacity) : m_pushes(0) {}

    void push(int x)
    {
        ++m_pushes;
        super::push(x);
    }
    int pushes() const { return m_pushes; }

private:
    int m_pushes;
};
