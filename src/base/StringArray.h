// An array of strings; elements are added from C strings (null gives "").
#pragma once

#include "base/Array.h"
#include "base/Str.h"

class StringArray : public ObjArray<Str, char const*> {
public:
    StringArray() {}
    ~StringArray() override {}

    // Splits text at separator and appends the trimmed pieces.
    void AppendFromString(Str const& text, char separator);
};
