// A refinement: counts pushes and guards pop.
refines class Stack {
public:
    Stack() : m_pushes(0) {}
    void push(int x) {
        ++m_pushes;
        super::push(x);
    }
    int pop() {
        if (size() == 0)
            return -1;
        return super::pop();
    }
    int pushes() const { return m_pushes; }
private:
    int m_pushes;
};
