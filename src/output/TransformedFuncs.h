// The functions of one feature module whose declarations a transformation
// has handled, by signature key before and after renaming. The base map
// holds old key -> declaration. It also yields the method counts of the
// composition statistics.
#pragma once

#include "base/Map.h"
#include "base/Str.h"

class FOPModule;
class FuncInfo;
class FuncNode;
class NodeFuncDecl;

class TransformedFuncs : public MapStringTo<NodeFuncDecl*, NodeFuncDecl*> {
public:
    TransformedFuncs();
    ~TransformedFuncs() override;
    TransformedFuncs(TransformedFuncs const&) = delete;
    TransformedFuncs& operator=(TransformedFuncs const&) = delete;

    // "name(types)" with "~" for a destructor, "NULL" for a function without
    // parameter list, "pointcut "/"advice " in front for aspect functions.
    static Str GetFuncName(FuncInfo const& f);

    // Records decl under both keys and the keys under each other.
    void Add(Str const& oldKey, Str const& newKey, NodeFuncDecl& decl);
    // True when key is a key given after renaming.
    bool HasTransformed(Str const& key) const;
    NodeFuncDecl* GetTransformed(Str const& key) const;
    bool Has(FuncNode& node) const;
    // The declaration recorded under the function's key before renaming.
    NodeFuncDecl* Get(FuncInfo const& f) const;
    // key = GetFuncName(f); oldName = the old key of key as a new key.
    void GetName(FuncInfo const& f, Str& oldName, Str& key) const;

    // Both modules exist and their layers share a binding unit.
    static bool IsInlined(FOPModule* module, FuncInfo* other);
    // Adds this module's counts to the four counters.
    void GetMethodCount(int& methods, int& inlinedMethods, int& extensions, int& inlinedExtensions) const;

    int GetTransformedCount() const { return m_TransformedDecls.GetCount(); }

private:
    Set<FuncNode*> m_TransformedDecls;
    MapStringTo<NodeFuncDecl*, NodeFuncDecl*> m_NewKeyDecls;
    MapStringToString m_OldToNew;
    MapStringToString m_NewToOld;
};
