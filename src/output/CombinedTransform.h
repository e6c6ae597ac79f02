// Composition of one module of a class whose modules lie in several binding
// units. Inside a unit it composes like the jampack transformation: the
// unit's modules become one class "<Class>__<unit>", refined functions get
// layer-prefixed names and `super` calls become direct calls. Across units
// it uses the embedded decorator transformation. The choice is made per
// function, from where its lower and higher versions lie. What every unit's
// class shares through the interface is SharedDeclarations' to collect; the
// names qualified with the module's class are UnitClassQualifier's.
#pragma once

#include "output/DecoratorTransform.h"
#include "output/JampackTransform.h"

class CombinedTransform : public JampackTransform {
public:
    explicit CombinedTransform(FOPModule& module);
    ~CombinedTransform() override;

    void OnTokSuperCall(Lex::Token* superToken, Lex::Token* separator, Lex::Token* name) override;
    void OnTokThis(Lex::Token& thisToken, bool beforeBody) override;
    void OnMemberAccess(Lex::Token* thisToken, Lex::Token& name, bool beforeBody) override;
    Str GetTransformedClassName() override;
    bool AddCtorFuncCall(NodeFuncDef& ctor) override;
    bool AddDtorFuncCall(NodeFuncDef& dtor) override;
    Str GetTransformedFuncName(FuncInfo& f) override;
    bool CanParseFuncBody(FuncNode& node) override;
    bool RemoveBase(NodeBaseClass& base) override;
    bool OnModuleInstantiation(TransformedModule& cls, Lex::Token& newToken, Lex::Token& className) override;
    bool TransformFuncDeclStmt(bool isDefinitionDecl, NodeFuncDecl& decl) override;
    bool TransformCtorInitializer(NodeFuncDef& ctor) override;
    bool Transform() override;
    void Init() override;
    bool TransformFuncDecl(FuncNode& func) override;
    bool TransformDeclarations() override;
    bool RenameFunc(FuncInfo& f) override;
    Str GetSuperFuncName() override;

    bool FuncInSameBindingUnit(FuncInfo& f);
    bool RefinedFuncInSameBindingUnit();
    bool RefiningFuncInSameBindingUnit();
    FuncInfo* GetRefinedFuncInSameBindingUnit();
    FuncInfo* GetRefiningFuncInSameBindingUnit();
    bool AddHookMethod(FuncNode& func);
    FOPModule* GetDynamicBindingUnitModule();

    // cls + "__" + the unit name with "/" and "." turned into "_".
    static Str GetTransformedClassName(char const* cls, char const* unit);
    // The product-line pointer members of a class: the pointer, GetSPL()
    // and SetSplPtr(), on one line.
    static Str GetSplPtrCode(Str const& spl, Str const& cls);

    DecoratorTransform m_Decorator;
};
