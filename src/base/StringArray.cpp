#include "base/StringArray.h"

#include "base/StrConvert.h"

void StringArray::AppendFromString(Str const& text, char separator)
{
    StrConvert::ToStringArray(text, 0, *this, separator, true);
}
