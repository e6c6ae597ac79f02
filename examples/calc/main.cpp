// Evaluates a few expressions with the composed calculator.
#include "Calc.h"

#include <iostream>

int main()
{
    Calc calc;
    int first = calc.eval("3 4 + 2 *");
    std::cout << "3 4 + 2 * = " << first << std::endl;
    // The stack holds four values: the fifth is dropped.
    int second = calc.eval("1 2 3 4 5 + + +");
    std::cout << "1 2 3 4 5 + + + = " << second << std::endl;
    return 0;
}
