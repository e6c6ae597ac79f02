// The root of a product line's interface.
#pragma once

class Feature {
public:
    virtual ~Feature() {}
};
