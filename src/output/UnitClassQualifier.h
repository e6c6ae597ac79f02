// A binding unit's modules are composed into the class "<Class>__<unit>",
// so the names qualified with the module's class (`Class::`) that define
// members outside the class body take the unit's class name instead.
#pragma once

#include "base/Str.h"

class NodeFuncDecl;
class TrailingCode;

class UnitClassQualifier {
public:
    // The module's class name in an out-of-class definition's name becomes
    // unitClass; the rest of the name stays as written.
    static void RequalifyDefinition(NodeFuncDecl& decl, Str const& module, Str const& unitClass);
    // The same for the names the code after the class defines (static data
    // members, out-of-class members): `module::` outside braces becomes
    // `unitClass::`. A function body keeps naming the class's interface.
    static void RequalifyTrailingCode(TrailingCode& code, Str const& module, Str const& unitClass);
};
