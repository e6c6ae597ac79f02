#include "base/Integer.h"

#include <cstdlib>

int Integer::parseInt(Str const* text, int base)
{
    if (!text)
        return 0;
    return static_cast<int>(strtol(text->GetBuffer(), nullptr, base));
}
