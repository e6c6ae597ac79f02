// Jampack composition of one feature module: a function that a higher layer
// of the same output refines is renamed "<layer>_<name>" and becomes an
// ordinary method; `super::f(..)` calls go to the renamed lower version,
// constructors and destructors call the lower ones, initializers and base
// classes move to the composed class, and methods of layers switched on at
// run time get a guard that falls back to the lower version. The edits of
// the renamed declarations are RefinementSpecifiers' and
// RefinementParameters'; the `package` line is JavaPackage's and the
// run-time guard DynamicLayerCode's.
#pragma once

#include "output/BaseTransform.h"

class JampackTransform : public BaseTransform {
public:
    explicit JampackTransform(FOPModule& module);
    ~JampackTransform() override;

    void OnTokSuperCall(Lex::Token* superToken, Lex::Token* separator, Lex::Token* name) override;
    Str GetTransformedClassName() override;
    bool TransformFuncDefinition(NodeFuncDef& def) override;
    bool AddCtorFuncCall(NodeFuncDef& def) override;
    bool AddDtorFuncCall(NodeFuncDef& def) override;
    Str GetTransformedFuncName(FuncInfo& f) override;
    bool CanParseFuncBody(FuncNode& node) override;
    bool RemoveBase(NodeBaseClass& base) override;
    bool TransformFuncDeclStmt(bool isDefinitionDecl, NodeFuncDecl& decl) override;
    bool TransformCtorInitializer(NodeFuncDef& def) override;
    bool Transform() override;
    void Init() override;

    // True when a higher module of the same output refines f.
    virtual bool RenameFunc(FuncInfo& f);
    virtual Str GetSuperFuncName();

    Str GetFinalName() const;
    // The module is a Java-like one (.jak, .java, .cs).

    // The highest version of a virtual function whose lower versions are
    // renamed is declared virtual itself.
    void MakeTopVirtual(FuncInfo& f);
    // The definition's parameter names for a call of the refined version;
    // false, after a warning, when a parameter has no name.
    bool GetCallArguments(NodeFuncDef& def, char const* separator, Str& names);

    // The highest version of f in this output.
    FuncInfo* GetTopRefining(FuncInfo& f);
    // Its declaration; null when f is the highest version itself.
    NodeFuncDecl* GetTopRefiningDecl(FuncInfo& f);
    // A defaulted or deleted constructor or destructor that refines one with
    // a body: a defaulted destructor calls the lower one, the rest is an error.
    void CheckDefaultedRefinement(NodeFuncDecl& decl);

    // The lowest module of the class in this output.
    FOPModule* m_pFirstModule;
    // Renamed versions defined in the class body are made inline.
    bool m_bMakeInline;
};
