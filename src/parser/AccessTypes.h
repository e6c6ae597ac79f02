// Access of a member or of a base class, and its conversions to the access
// keyword's token type and to its text.
#pragma once

#include "scanner/CTokens.h"

// A fixed underlying type, so that any stored number is a valid value.
enum AccessTypes : int {
    ACCESS_NONE = 0,
    ACCESS_PUBLIC = 1,
    ACCESS_PRIVATE = 2,
    ACCESS_PROTECTED = 3,
    ACCESS_MIXIN = 4,
};

// The token type of the access keyword; `public` for none and unknown values.
Lex::CTokens ConvertAccessTypeToCToken(AccessTypes access);

// The access an access keyword's token type stands for; none for other types.
AccessTypes ConvertCTokenToAccessType(int type);

// "private", "protected", "mixin"; "public" for every other value.
char const* ConvertAccessTypeToString(AccessTypes access);
