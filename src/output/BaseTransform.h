// The common part of the transformations that rewrite one feature module
// so that all layers of a composed class can be written as one class. It
// fixes the order of the steps, walks the module's function definitions and
// declarations, renames them through the subclass's hooks and receives the
// events of the function-body parser, rewriting the reported tokens in
// place.
#pragma once

#include "base/Map.h"
#include "base/Str.h"
#include "parser/BodyParseEvents.h"
#include "parser/SyntaxEdit.h"

class ClassDB;
class FOPModule;
class FuncInfo;
class FuncNode;
class Layer;
class NodeBaseClass;
class NodeFuncDecl;
class NodeFuncDef;
class NodeFuncParams;
class TransformedFuncs;
class TransformedModule;

class BaseTransform : public BodyParseEvents {
public:
    explicit BaseTransform(FOPModule& module);
    ~BaseTransform() override;
    BaseTransform(BaseTransform const&) = delete;
    BaseTransform& operator=(BaseTransform const&) = delete;

    // Body events.
    void OnTokSuperCall(Lex::Token* superToken, Lex::Token* separator, Lex::Token* name) override = 0;
    void OnTokThis(Lex::Token& thisToken, bool beforeBody) override;
    void OnMemberAccess(Lex::Token* thisToken, Lex::Token& name, bool beforeBody) override;
    void OnStaticMemberAccess(Lex::Token& className, Lex::Token& member, Lex::Token& next) override;
    void OnClassInstantiation(Lex::Token& newToken, Lex::Token& next) override;
    bool OnMetaVar(Lex::Token& token) override;
    // Java's `super.g()` of another method: the base class's g, which C#
    // calls `base.g()`; an error when the class has no base class that could
    // have g.
    void OnSuperBaseCall(Lex::Token& superToken, Lex::Token& separator, Lex::Token& name) override;
    // `super::N::f`: the composed class holds N itself, so `super::` goes.
    void OnSuperQualifier(Lex::Token& superToken, Lex::Token& separator) override;

    virtual Str GetTransformedClassName() = 0;
    virtual bool TransformDefinitions();
    virtual bool TransformFields();
    virtual bool TransformDeclarations();
    virtual bool TransformFuncDefinition(NodeFuncDef& def);
    // The call of the refined constructor or destructor in a refining one.
    virtual bool AddCtorFuncCall(NodeFuncDef& def) = 0;
    virtual bool AddDtorFuncCall(NodeFuncDef& def) = 0;
    // The new name of a function; empty when it keeps its name.
    virtual Str GetTransformedFuncName(FuncInfo& f) = 0;
    virtual bool CanParseFuncBody(FuncNode& node);
    // True when the base is to be removed from this module's class head.
    virtual bool RemoveBase(NodeBaseClass& base);
    // A super call with neither a refined function nor a base class.
    virtual void OnUnresolvedSuperCall(Lex::Token& superToken);
    // A super call of the function being transformed, which no lower layer
    // has: an error when a lower layer has a method of that name (the
    // refinement matches none of them), else a call of the base class's
    // version (Java's own `super.f()` stays as written), else an error.
    void OnUnrefinedSuperCall(Lex::Token& superToken, Lex::Token& separator, Lex::Token& name);
    // Whether a Java-like `super.name(..)` reaches a base class's method
    // (`super` becomes C#'s `base`); false when the class has no base class
    // and name is no method of the root class.
    bool CallsJavaBase(Lex::Token& superToken, Str const& name);
    // A Java-like module, where `super.f()` also names the base class's f.
    bool IsJavaLike() const;
    // `super::f(..)` or `super.f(..)`, as written.
    static Str CallText(Lex::Token& separator, Lex::Token& name);
    virtual bool OnModuleInstantiation(TransformedModule& target, Lex::Token& newToken, Lex::Token& classToken);
    virtual bool TransformFuncDeclStmt(bool isDefinitionDecl, NodeFuncDecl& decl);
    virtual bool TransformCtorInitializer(NodeFuncDef& def);
    // The steps in order; always true.
    virtual bool Transform();
    virtual void Init();
    virtual bool TransformFuncDecl(FuncNode& node);

    // A constructor of a refinement that matches no lower constructor would
    // not run for the callers of those: an error listing them.
    void CheckNewConstructor(NodeFuncDef& def);
    bool DeleteRefines();
    bool RenameClass();
    bool TransformLastModule();
    void OnBeginTransform(FuncInfo& f);
    bool ParseBody(NodeFuncDef& def);
    bool FOP_Transform_TransformFuncDecl(FuncNode& node);
    // True for a member of a class other than the module's own (a nested
    // class, a helper class beside it): it keeps its name, and its name
    // does not stand for a method of the composed class.
    bool IsOtherClassMember(NodeFuncDecl& decl) const;
    bool TransformFuncDeclStmt_Int(bool isDefinitionDecl, NodeFuncDecl& decl);
    bool TransformCtorDeclStmt(NodeFuncDecl& decl);
    bool AddCtorDelegationArguments(NodeFuncDecl& decl);
    // The composed constructor of a class composed in one binding unit keeps
    // the product line it is given, when the class needs it.
    void StoreSplParameter(NodeFuncDef& def);
    void AddDefaultCtor();
    bool RemoveBaseClasses();
    void CreateSetSplPtrCall(TransformedModule& target, Lex::Token& newToken, Lex::Token& classToken);

    // The composed class of that name; null when there is none.
    TransformedModule* GetModule(char const* name);

    // The layer name as an identifier (GeneratedNames::LayerIdentifier).
    static Str GetTransformedLayerName(char const* layerName);
    // The name of the program's product-line interface.
    Str GetLayerInterfaceName();
    // `new X(..)` becomes `GetSPL().New_X(..)`.
    static void CreateFactoryMethodInvocation(Lex::Token& newToken, Lex::Token& classToken);

    // Token and declaration edits of the parse model (SyntaxEdit), by the
    // names the transformations use.
    static void DeleteToken(Lex::Token& token) { SyntaxEdit::DeleteToken(token); }
    static void MakeInline(NodeFuncDecl& decl) { SyntaxEdit::MakeInline(decl); }
    static Lex::Token* NewTextToken(char const* text) { return SyntaxEdit::NewTextToken(text); }
    static bool HasParams(NodeFuncParams& params) { return SyntaxEdit::HasParams(params); }
    static bool HasUnnamedParams(NodeFuncParams& params) { return SyntaxEdit::HasUnnamedParams(params); }
    static bool IsOperatorFunction(FuncInfo& f) { return SyntaxEdit::IsOperatorFunction(f); }
    static Lex::Token* DefaultedOrDeleted(NodeFuncDecl& decl) { return SyntaxEdit::DefaultedOrDeleted(decl); }
    static void DropDeclaration(NodeFuncDecl& decl) { SyntaxEdit::DropDeclaration(decl); }
    static bool IsSkipped(Lex::Token const& token) { return SyntaxEdit::IsSkipped(token); }
    static Lex::Token* NextNonWhite(Lex::Token* token) { return SyntaxEdit::NextNonWhite(token); }
    static bool IsPlainName(Lex::Token& t) { return SyntaxEdit::IsPlainName(t); }
    static int FindName(Array<Lex::Token*> const& names, Lex::Token const& t) { return SyntaxEdit::FindName(names, t); }

    bool m_bReportInstantiations;
    bool m_bReportMemberUses;
    ClassDB* m_pClassDB;
    Layer* m_pLayer;
    FOPModule* m_pModule;
    TransformedModule* m_pTransformedModule;
    FOPModule* m_pRefinedModule;
    TransformedFuncs* m_pTransformedFuncs;
    Set<FuncInfo*> m_HandledFuncs;
    Str m_ClassName;

    // The function being transformed.
    Str m_SuperName;
    FuncInfo* m_pFunc;
    FuncInfo* m_pRefinedFunc;
    FuncInfo* m_pRefiningFunc;
    bool m_bIsConstructor;
    bool m_bIsDestructor;
};
