// Splitting a string into an array of strings.
#pragma once

#include "base/Str.h"
#include "base/StringArray.h"

class StrConvert {
public:
    // Appends the pieces of text between separators; the first separator is
    // searched from start, the first piece still begins at 0. Adjacent
    // separators give empty pieces; a trailing separator gives no last piece.
    // With trim, pieces lose " \r\n\t" at both ends. Always true.
    static bool ToStringArray(Str const& text, int start, StringArray& strings, char separator, bool trim);
};
