// The class head of a module compared with that of the module introducing
// its class: a refinement adds members, and may add C++ base classes and
// mixins, but declares the class with the same template head, Java-like
// `extends`/`implements` words and file kind, and declares no data member
// or nested type that a lower layer declares already.
#pragma once

#include "base/Str.h"

class FOPModule;
namespace Lex {
class Token;
}

class RefinementHead {
public:
    // Reports each difference of module from the lower modules of its
    // class as an error naming both; false when there was one.
    static bool Check(FOPModule& module);

    // The words of a Java-like class head after the class name up to the
    // body ("extends B implements I"), blanks folded; empty without any.
    static Str JavaClause(FOPModule& module);
    // The class after `extends` in a Java-like class head; empty for none.
    static Str ExtendsClass(FOPModule& module);
    // The template head of the module's class, blanks folded; empty for none.
    static Str TemplateHead(FOPModule& module);
    // "<file>:<line>" of the token in module; the module's file without one.
    static Str Where(FOPModule& module, Lex::Token* token);
};
