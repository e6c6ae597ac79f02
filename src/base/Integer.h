// Number parsing.
#pragma once

#include "base/Str.h"

class Integer {
public:
    // strtol of the text in the given base; 0 for a null text.
    static int parseInt(Str const* text, int base);
};
