#include "output/TransformedFuncs.h"

#include "compose/FOPModule.h"
#include "compose/Layer.h"
#include "output/LayerDecorator.h"
#include "parser/Info.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeFuncDef.h"

// A module may hold thousands of functions: every map keeps a look-up index.
TransformedFuncs::TransformedFuncs()
{
    SetIndexed();
    m_TransformedDecls.SetIndexed();
    m_NewKeyDecls.SetIndexed();
    m_OldToNew.SetIndexed();
    m_NewToOld.SetIndexed();
}

TransformedFuncs::~TransformedFuncs()
{
    RemoveAll();
    m_TransformedDecls.RemoveAll();
    m_NewKeyDecls.RemoveAll();
    m_OldToNew.RemoveAll();
    m_NewToOld.RemoveAll();
}

Str TransformedFuncs::GetFuncName(FuncInfo const& f)
{
    Str key;
    if (f.m_AopType == AOPInfo::AOP_POINTCUT)
        key = "pointcut ";
    else if (f.m_AopType == AOPInfo::AOP_ADVICE)
        key = "advice ";
    key += f.GetStrName();
    key += "(";
    if (f.m_pParams)
        key += f.m_pParams->TypesAsString();
    else
        key += "NULL";
    key += ")";
    if (!f.m_Qualifiers.IsEmpty()) {
        key += " ";
        key += f.m_Qualifiers;
    }
    return key;
}

void TransformedFuncs::Add(Str const& oldKey, Str const& newKey, NodeFuncDecl& decl)
{
    Put(oldKey.GetBuffer(), &decl);
    m_NewKeyDecls.Put(newKey.GetBuffer(), &decl);
    m_OldToNew.Put(oldKey.GetBuffer(), newKey.GetBuffer());
    m_NewToOld.Put(newKey.GetBuffer(), oldKey.GetBuffer());
    m_TransformedDecls.Add(&decl);
}

bool TransformedFuncs::HasTransformed(Str const& key) const { return m_NewKeyDecls.Find(key.GetBuffer()) != nullptr; }

NodeFuncDecl* TransformedFuncs::GetTransformed(Str const& key) const
{
    auto* entry = m_NewKeyDecls.Find(key.GetBuffer());
    return entry ? entry->GetValue() : nullptr;
}

bool TransformedFuncs::Has(FuncNode& node) const { return m_TransformedDecls.Contains(&node); }

NodeFuncDecl* TransformedFuncs::Get(FuncInfo const& f) const
{
    auto* entry = Find(GetFuncName(f).GetBuffer());
    return entry ? entry->GetValue() : nullptr;
}

void TransformedFuncs::GetName(FuncInfo const& f, Str& oldName, Str& key) const
{
    key = GetFuncName(f);
    auto* entry = m_NewToOld.Find(key.GetBuffer());
    if (entry)
        oldName = entry->GetValue();
    else
        oldName = "";
}

bool TransformedFuncs::IsInlined(FOPModule* module, FuncInfo* other)
{
    if (!module || !other || !other->m_pModule)
        return false;
    Layer* mine = module->GetLayer();
    Layer* theirs = other->m_pModule->GetLayer();
    if (!mine || !theirs)
        return false;
    if (mine == theirs)
        return true;
    LayerDecorator* a = LayerDecorator::Of(*mine);
    LayerDecorator* b = LayerDecorator::Of(*theirs);
    if (a || b)
        return a == b;
    // Without decorators the binding units are compared by name.
    return mine->GetBindingName() == theirs->GetBindingName();
}

void TransformedFuncs::GetMethodCount(int& methods, int& inlinedMethods, int& extensions,
                                      int& inlinedExtensions) const
{
    for (auto* entry = m_TransformedDecls.GetFirst(); entry; entry = m_TransformedDecls.GetNext(entry)) {
        NodeFuncDecl* decl = static_cast<NodeFuncDecl*>(entry->GetKey());
        FuncInfo* f = decl->GetInfo();
        if (!f)
            continue;
        NodeFuncDef* def = decl->GetDef();
        bool definedInDecl = def && def->GetDecl() == decl;
        ++methods;
        if (f->m_pRefined) {
            ++extensions;
            if (IsInlined(f->m_pModule, f->m_pRefined)) {
                ++inlinedExtensions;
                ++inlinedMethods;
            }
        } else if (definedInDecl && !f->IsVirtual() && !f->IsConstructor()) {
            ++inlinedMethods;
        }
    }
}
