// How a module's code is handed the product-line object `spl`: the
// constructors take it (and, in a class of several binding units, the final
// object), member objects and new objects of composed classes are given it,
// static calls into a class of several binding units pass it, and the last
// module of a binding unit gets a constructor taking both when it has none.
// Texts that only a class needing the product-line pointer uses are written
// only while that class's flag is set.
#pragma once

class BaseTransform;
class FOPModule;
class NodeFuncDecl;
class NodeFuncDef;
class TransformedModule;

namespace Lex {
class Token;
}

class SplArguments {
public:
    // Works on the transformation's module and the function it is at.
    explicit SplArguments(BaseTransform& transform);
    SplArguments(SplArguments const&) = delete;
    SplArguments& operator=(SplArguments const&) = delete;

    // The `spl` (and `pFinal`) parameters put in front of a constructor's.
    bool AddCtorDelegationArguments(NodeFuncDecl& decl);
    // The composed constructor of a class composed in one binding unit keeps
    // the product line it is given, when the class needs it.
    void StoreSplParameter(NodeFuncDef& def);
    // `spl` passed to the member objects of composed classes that a
    // constructor's initialiser list constructs.
    bool TransformCtorInitializer(NodeFuncDef& def);
    // The last module of a binding unit of a class of several units: a
    // default constructor taking pFinal and spl unless a module of the unit
    // declares one.
    bool TransformLastModule();
    void AddDefaultCtor();
    // `new X(..)` becomes `(new X(spl, ..))->SetSplPtr(spl)`.
    void CreateSetSplPtrCall(TransformedModule& target, Lex::Token& newToken, Lex::Token& classToken);
    // `X::f(..)` of a class of several binding units takes spl first.
    void OnStaticMemberAccess(Lex::Token& classToken, Lex::Token& next);

private:
    BaseTransform* m_pTransform;
    FOPModule* m_pModule;
    TransformedModule* m_pClass;
};
