#include <string>

// A calculator for expressions in reverse Polish notation: "3 4 + 2 *".
class Calc {
public:
    Calc() : m_stack(4) {}

    int eval(std::string const& expression);

private:
    Stack m_stack;
};

#include <sstream>

int Calc::eval(std::string const& expression)
{
    std::istringstream words(expression);
    std::string word;
    while (words >> word) {
        if (word == "+" || word == "*" || word == "-") {
            int right = m_stack.pop();
            int left = m_stack.pop();
            m_stack.push(word == "+" ? left + right : word == "*" ? left * right : left - right);
        } else {
            m_stack.push(std::stoi(word));
        }
    }
    return m_stack.pop();
}
