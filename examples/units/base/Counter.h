#include "Class.h"

// Counts what is added to it.
class Counter {
public:
    Counter() : m_value(0) {}
    virtual ~Counter() {}

    void add(int n) { m_value += n; }
    int value() const { return m_value; }
    Counter* fresh() const { return new Counter; }
    static int limit() { return 10; }

protected:
    int m_value;
};
