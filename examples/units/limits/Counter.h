// Ignores additions beyond the limit.
refines class Counter {
public:
    Counter() { m_limit = limit(); }
    void add(int n)
    {
        if (m_value + n <= m_limit)
            super::add(n);
    }

private:
    int m_limit;
};
