// The interface of the product line "units": the factory methods and static
// forwarders of its binding units. Written by hand until the tool writes
// the product-line interface itself.
#pragma once

#include "Feature.h"

class Counter;

class units : public Feature {
public:
    virtual Counter* New_Counter() = 0;
    virtual int Counter__limit() = 0;
};
