// The interface methods and hooks that a module of a class composed per
// binding unit adds: each public member function gets a virtual method in the
// composed class's interface that forwards to the object below; a static one
// forwards through the layer class, which gets a static forwarder for it.
// Each signature is added once per class.
#pragma once

#include "base/Str.h"
#include "output/FuncDeclText.h"

class DecoratorTransform;
class FOPModule;
class FuncNode;
class Layer;
class StringSet;
class TransformedModule;

class InterfaceMethodBuilder {
public:
    // Works on the decorator's module, class and layer.
    explicit InterfaceMethodBuilder(DecoratorTransform& decorator);
    InterfaceMethodBuilder(InterfaceMethodBuilder const&) = delete;
    InterfaceMethodBuilder& operator=(InterfaceMethodBuilder const&) = delete;

    bool AddInterfaceMethod(FuncNode& func);
    // declaration keeps the default arguments, which calls through the
    // interface rely on; the layer classes' static forwarders take
    // plainDeclaration, without them.
    bool AddInterfaceMethod(Str const& name, Str const& signature, Str const& declaration, Str const& paramNames,
                            bool isStatic, Str const& plainDeclaration = Str());
    // True, after "not found: <signature>", when the signature is new; false,
    // after "already there: <signature>", when it is known.
    bool AddInterfaceMethodSignature(Str const& signature);
    bool AddHookMethod(FuncNode& func, FuncNode* refined);
    // Whether the interface keeps a default argument: not when it names
    // `this` or a member of any module of the class.
    FuncDeclText::KeepDefaultFunc KeepDefault();

private:
    DecoratorTransform* m_pDecorator;
    FOPModule* m_pModule;
    TransformedModule* m_pClass;
    StringSet* m_pSignatures;
    Layer* m_pLayer;
};
