// The part of the combined transformation that joins the binding units of a
// class composed per binding unit: the module's class derives from the
// class's decorator, `this` and calls of the module's own member functions
// go through the final object, `super` calls into another unit go through
// the decorator chain, `new X` of dynamically delegated classes becomes a
// factory call, and the module's factory method, static forwarders,
// interface methods and hooks are registered with the layer class of its
// binding unit and with the composed class's interface.
#pragma once

#include "base/Map.h"
#include "base/Str.h"
#include "base/StringArray.h"

class BaseTransform;
class ClassDB;
class FOPModule;
class FuncInfo;
class FuncNode;
class Layer;
class LayerDecorator;
class ModuleIncludes;
class NodeFuncDecl;
class TransformedModule;

namespace Lex {
class Token;
}

class DecoratorTransform {
public:
    explicit DecoratorTransform(BaseTransform& transform);
    DecoratorTransform(DecoratorTransform const&) = delete;
    DecoratorTransform& operator=(DecoratorTransform const&) = delete;

    // "pFinal" in a constructor that stays a constructor (pFinal is its
    // parameter), else "this->final".
    char const* GetThisName();
    void RenameThis(Lex::Token& token);

    // Body events.
    void OnTokThis(Lex::Token& token, bool beforeBody);
    void OnMemberAccess(Lex::Token* thisToken, Lex::Token& name, bool beforeBody);
    void OnTokSuperCall(Lex::Token* super, Lex::Token* separator, Lex::Token* name);
    // Always true.
    bool OnModuleInstantiation(TransformedModule& cls, Lex::Token& newToken, Lex::Token& className);
    // `new X(..)` becomes `GetSPL().New_X()`; arguments, which the factory
    // does not take, are dropped with a warning. An array new stays.
    static void CreateFactoryMethodInvocation(Lex::Token& newToken, Lex::Token& className);

    // Binding units: the layer decorator of the layer of the function's
    // module; null for a function without module or layer.
    static LayerDecorator* GetBindingUnit(FuncInfo& f);
    bool FuncInSameBindingUnit(FuncInfo& f);
    bool HasRefiningInBindingUnit(LayerDecorator& unit);
    // The nearest lower version of the current function whose binding unit
    // also holds a higher version of it; null when none.
    FuncInfo* GetJampackRefinedMethod();
    // The first function on the refining chain of the current function that
    // lies in this module's binding unit; null when none.
    FuncInfo* GetRefiningInSameUnit();

    // The class head and the layer class.
    bool CreateBaseDefinition();
    bool AddBaseClass(char const* base, char const* include);
    bool CreateFactoryMethod();
    static Str GetDecoratorName(char const* name);
    // The module's namespace ("a::b"), empty at file scope or in an unnamed
    // one; a name qualified with it.
    static Str GetNameSpace(FOPModule& module);
    Str Qualified(Str const& name);

    // The interface of the composed class (see InterfaceMethodBuilder).
    bool AddInterfaceMethod(FuncNode& func);
    bool AddHookMethod(FuncNode& func, FuncNode* refined);
    // The signature key of a function's declaration (by default its first):
    // the printed signature, with " const" for a const member function.
    static Str GetSignatureKey(FuncInfo& f, NodeFuncDecl* decl = nullptr);

    // Not called in a composition run.
    Str GetHookName(char const* name);
    ClassDB* GetDB();
    // A member variable of the class that no module of this binding unit
    // declares, named in a method of it: an error, once per method and name.
    bool IsFieldOfOtherUnit(Lex::Token& name);
    bool CreateBaseClassGetter();
    bool CreateBaseClassGetter(Str const& base);

    BaseTransform* m_pTransform;
    FOPModule* m_pModule;
    TransformedModule* m_pClass;
    StringSet* m_pSignatures;
    Layer* m_pLayer;
    ModuleIncludes* m_pIncludes;
    StringSet m_ReportedFields;
    // The composed base classes that the transformation removed from the
    // class head, in order.
    StringArray m_BaseNames;
};
