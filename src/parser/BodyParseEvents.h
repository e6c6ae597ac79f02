// What the function-body parser reports while it walks a body. The
// transformations implement it and rewrite the reported tokens in place.
// The before-body flag is true for tokens of a constructor's initializer
// list (before the body's first `{`) and false inside the body.
#pragma once

namespace Lex {
class Token;
}

class BodyParseEvents {
public:
    virtual ~BodyParseEvents() {}

    // `super`, the separator after it and the name of the called function.
    virtual void OnTokSuperCall(Lex::Token* superToken, Lex::Token* separator, Lex::Token* name) = 0;
    // `super` and the separator in front of a qualified name (`super::N::f`,
    // `super::T<int>::g`): a name of the class as the layers below make it.
    virtual void OnSuperQualifier(Lex::Token& superToken, Lex::Token& separator) { (void)superToken, (void)separator; }
    // `super.g(..)` of a Java-like module inside another method than g: a
    // call of the base class's g, as Java has it.
    virtual void OnSuperBaseCall(Lex::Token& superToken, Lex::Token& separator, Lex::Token& name)
    {
        (void)superToken, (void)separator, (void)name;
    }
    // A `this` that is not a member call through `this`.
    virtual void OnTokThis(Lex::Token& thisToken, bool beforeBody) = 0;
    // A member of the composed class; thisToken is null when the member is
    // used without `this`.
    virtual void OnMemberAccess(Lex::Token* thisToken, Lex::Token& name, bool beforeBody) = 0;
    // Class name, static member name and the first non-white token after it.
    virtual void OnStaticMemberAccess(Lex::Token& className, Lex::Token& member, Lex::Token& next) = 0;
    // `new` and the first non-white token after it.
    virtual void OnClassInstantiation(Lex::Token& newToken, Lex::Token& next) = 0;
    // A registered meta variable written between angle brackets; the result
    // is not used.
    virtual bool OnMetaVar(Lex::Token&) { return false; }
};
