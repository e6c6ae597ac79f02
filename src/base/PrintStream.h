// Printing to standard output, flushed after every call.
#pragma once

#include "base/Str.h"

class PrintStream {
public:
    void print(char const* text);
    void print(Str const* text);
    // The text and a line break.
    void println(char const* text);
};
