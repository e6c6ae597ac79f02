#include "output/CombinedTransform.h"

#include "base/ErrorLog.h"
#include "compose/FOPModule.h"
#include "compose/GeneratedNames.h"
#include "compose/Layer.h"
#include "compose/TransformedModule.h"
#include "output/ClassOutput.h"
#include "output/ModuleOutput.h"
#include "output/ModuleTransform.h"
#include "output/SharedDeclarations.h"
#include "output/UnitClassQualifier.h"
#include "parser/ClassDB.h"
#include "parser/Info.h"
#include "parser/NodeBaseClass.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeFuncDef.h"
#include "parser/NodeID.h"
#include "scanner/Token.h"

CombinedTransform::CombinedTransform(FOPModule& module) : JampackTransform(module), m_Decorator(*this) {}

CombinedTransform::~CombinedTransform() {}

// ---- Binding units of the current function ----

bool CombinedTransform::FuncInSameBindingUnit(FuncInfo& f) { return m_Decorator.FuncInSameBindingUnit(f); }

bool CombinedTransform::RefinedFuncInSameBindingUnit()
{
    return m_pFunc && m_pFunc->m_pRefined && FuncInSameBindingUnit(*m_pFunc->m_pRefined);
}

bool CombinedTransform::RefiningFuncInSameBindingUnit()
{
    return m_pFunc && m_pFunc->m_pRefining && FuncInSameBindingUnit(*m_pFunc->m_pRefining);
}

FuncInfo* CombinedTransform::GetRefinedFuncInSameBindingUnit()
{
    for (FuncInfo* f = m_pFunc ? m_pFunc->m_pRefined : nullptr; f; f = f->m_pRefined)
        if (FuncInSameBindingUnit(*f))
            return f;
    return nullptr;
}

FuncInfo* CombinedTransform::GetRefiningFuncInSameBindingUnit() { return m_Decorator.GetRefiningInSameUnit(); }

bool CombinedTransform::AddHookMethod(FuncNode& func)
{
    FuncInfo* refined = GetRefinedFuncInSameBindingUnit();
    if (!refined)
        return false;
    return m_Decorator.AddHookMethod(func, refined->GetDecl());
}

FOPModule* CombinedTransform::GetDynamicBindingUnitModule() { return m_pFirstModule ? m_pFirstModule : m_pModule; }

Str CombinedTransform::GetTransformedClassName(char const* cls, char const* unit)
{
    return GeneratedNames::DelegationObjectName(cls, unit);
}

Str CombinedTransform::GetSplPtrCode(Str const& spl, Str const& cls)
{
    Str code;
    code.Format("\t%s* __SPL_PTR;", spl.GetBuffer());
    code += Str().Format("\t%s& GetSPL() { %s };", spl.GetBuffer(), "return *__SPL_PTR;");
    code += Str().Format("\tpublic: %s* SetSplPtr(%s& ptr) { %s return this; }", cls.GetBuffer(), spl.GetBuffer(),
                         ("__SPL_PTR = (" + spl + "*)&ptr;").GetBuffer());
    return code;
}

// ---- Steps ----

Str CombinedTransform::GetTransformedClassName()
{
    return GetTransformedClassName(GetDynamicBindingUnitModule()->GetName(), m_pModule->GetBindingUnitName());
}

void CombinedTransform::Init()
{
    // Refined functions of a unit stay out of line like any method.
    m_bMakeInline = false;
    JampackTransform::Init();
}


bool CombinedTransform::Transform()
{
    if (!JampackTransform::Transform())
        return false;
    ClassInterface* cls = m_pTransformedModule ? ClassOutput::Of(*m_pTransformedModule).GetInterface() : nullptr;
    if (cls)
        SharedDeclarations::CollectIncludes(*m_pModule, *cls);
    if (TrailingCode* code = ModuleOutput::Of(*m_pModule).GetTrailingCode())
        UnitClassQualifier::RequalifyTrailingCode(*code, m_pModule->GetName(), m_ClassName);
    if (cls)
        SharedDeclarations::MoveNestedTypes(*m_pModule, *cls);
    if (!RemoveBaseClasses())
        return false;
    if (!m_Decorator.CreateBaseDefinition())
        return false;
    return m_Decorator.CreateFactoryMethod();
}

bool CombinedTransform::RemoveBase(NodeBaseClass& base)
{
    NodeID* id = base.GetID();
    Str name = id ? id->AsString() : Str();
    if (name.IsEmpty() || !GetModule(name)) {
        // A base of a refinement moves to the head of the unit's lowest
        // module, the one head of the unit that is written.
        return JampackTransform::RemoveBase(base);
    }
    if (m_pTransformedModule)
        SharedDeclarations::AddBase(*m_pTransformedModule, base, name);
    m_Decorator.m_BaseNames.Add(name);
    return true;
}

bool CombinedTransform::TransformFuncDecl(FuncNode& func)
{
    NodeFuncDecl* decl = func.GetDecl();
    FuncInfo* f = decl ? decl->GetInfo() : nullptr;
    if (f && IsOperatorFunction(*f)) {
        NodeFuncDef* def = f->GetDef();
        NodeFuncDecl* outside = def ? def->GetDecl() : nullptr;
        if (outside && outside != f->GetDecl())
            UnitClassQualifier::RequalifyDefinition(*outside, m_pModule->GetName(), m_ClassName);
    }
    if (!BaseTransform::TransformFuncDecl(func))
        return false;
    if (GetRefinedFuncInSameBindingUnit() && !RefinedFuncInSameBindingUnit())
        AddHookMethod(func);
    if (!GetRefiningFuncInSameBindingUnit())
        m_Decorator.AddInterfaceMethod(func);
    return true;
}

bool CombinedTransform::TransformDeclarations()
{
    if (!JampackTransform::TransformDeclarations())
        return false;
    if (!m_pClassDB)
        return true;
    // f() and f() const share one function info: the second declaration
    // gets its own interface method.
    for (int i = 0; i < m_pClassDB->m_FuncDecls.GetCount(); ++i) {
        NodeFuncDecl* decl = m_pClassDB->m_FuncDecls[i];
        FuncInfo* f = decl ? decl->GetInfo() : nullptr;
        if (!f || f->GetDecl() == decl ||
            DecoratorTransform::GetSignatureKey(*f, decl) == DecoratorTransform::GetSignatureKey(*f))
            continue;
        OnBeginTransform(*f);
        if (!GetRefiningFuncInSameBindingUnit())
            m_Decorator.AddInterfaceMethod(*decl);
    }
    return true;
}

bool CombinedTransform::RenameFunc(FuncInfo&)
{
    FuncInfo* refining = GetRefiningFuncInSameBindingUnit();
    ModuleTransform* unit = ModuleTransform::Of(*m_pModule);
    return refining && unit && unit->HasMethod(*refining);
}

Str CombinedTransform::GetTransformedFuncName(FuncInfo& f)
{
    bool prefixed = RenameFunc(f);
    if (!prefixed && m_pModule->GetName() == m_ClassName)
        return Str();
    if (prefixed && IsOperatorFunction(f)) {
        // An operator keeps its name: a layer name cannot be put into it.
        m_pModule->PrintError("cannot refine operator function " + f.GetStrName(), 0);
        return Str();
    }
    // An operator keeps its name; an out-of-class definition gets the unit's
    // class name in TransformFuncDecl.
    if (IsOperatorFunction(f))
        return Str();
    Str name = m_ClassName;
    name += "::";
    if (prefixed) {
        name += GetTransformedLayerName(m_pModule->GetRenameLayerName());
        name += "_";
    }
    if (f.IsDestructor()) {
        // A renamed destructor must not clash with a renamed constructor
        // without parameters of the same layer.
        name += prefixed ? "dtor_" : "~";
        name += m_ClassName;
    } else if (f.IsConstructor()) {
        name += m_ClassName;
    } else {
        FuncInfo* merged = RefinedFuncInSameBindingUnit() ? nullptr : m_Decorator.GetJampackRefinedMethod();
        name += merged ? merged->GetStrName() : f.GetStrName();
    }
    return name;
}

Str CombinedTransform::GetSuperFuncName()
{
    FuncInfo* r = GetRefinedFuncInSameBindingUnit();
    if (!r || RefinedFuncInSameBindingUnit())
        return m_SuperName;
    Str name("final->");
    name += r->GetNameText();
    return name;
}

// ---- Body events ----

void CombinedTransform::OnTokSuperCall(Lex::Token* superToken, Lex::Token* separator, Lex::Token* name)
{
    if (!m_pRefinedFunc && superToken && separator && name) {
        OnUnrefinedSuperCall(*superToken, *separator, *name);
        return;
    }
    if (!GetRefinedFuncInSameBindingUnit()) {
        m_Decorator.OnTokSuperCall(superToken, separator, name);
        return;
    }
    if (!superToken || !separator || !name)
        return;
    DeleteToken(*superToken);
    DeleteToken(*separator);
    name->text = Lex::StrHashTable::insert(GetSuperFuncName().GetBuffer());
}

void CombinedTransform::OnTokThis(Lex::Token& thisToken, bool beforeBody)
{
    m_Decorator.OnTokThis(thisToken, beforeBody);
}

void CombinedTransform::OnMemberAccess(Lex::Token* thisToken, Lex::Token& name, bool beforeBody)
{
    m_Decorator.OnMemberAccess(thisToken, name, beforeBody);
}

bool CombinedTransform::OnModuleInstantiation(TransformedModule& cls, Lex::Token& newToken, Lex::Token& className)
{
    return m_Decorator.OnModuleInstantiation(cls, newToken, className);
}

// ---- Constructors, destructors, declarations ----

bool CombinedTransform::AddCtorFuncCall(NodeFuncDef& ctor)
{
    if (!RefinedFuncInSameBindingUnit())
        return true;
    return JampackTransform::AddCtorFuncCall(ctor);
}

bool CombinedTransform::AddDtorFuncCall(NodeFuncDef& dtor)
{
    // The destructor of another unit's object runs with that object.
    if (!RefinedFuncInSameBindingUnit())
        return true;
    return JampackTransform::AddDtorFuncCall(dtor);
}

bool CombinedTransform::TransformFuncDeclStmt(bool isDefinitionDecl, NodeFuncDecl& decl)
{
    if (GetRefiningFuncInSameBindingUnit())
        return JampackTransform::TransformFuncDeclStmt(isDefinitionDecl, decl);
    return BaseTransform::TransformFuncDeclStmt(isDefinitionDecl, decl);
}

bool CombinedTransform::TransformCtorInitializer(NodeFuncDef& ctor)
{
    if (!BaseTransform::TransformCtorInitializer(ctor))
        return false;
    // The initializers go to the constructor that stays one: the highest of
    // the unit, not the next higher one, which may lie in another unit.
    FuncInfo* refining = GetRefiningFuncInSameBindingUnit();
    if (!refining)
        return true;
    for (FuncInfo* f = refining; f; f = f->m_pRefining)
        if (FuncInSameBindingUnit(*f))
            refining = f;
    FuncNode* node = refining->GetNode();
    NodeFuncDef* target = node ? node->GetDef() : nullptr;
    if (target)
        ctor.MoveInitializer(target);
    return true;
}

bool CombinedTransform::CanParseFuncBody(FuncNode&) { return true; }
