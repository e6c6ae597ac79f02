// The root of the interfaces of classes composed per binding unit.
#pragma once

class Class {
public:
    virtual ~Class() {}
};
