// The class database of a parsed file, and the project-wide one: function
// declarations and definitions, member variables, classes and namespaces in
// the order the parser found them. It only points at nodes and infos.
#pragma once

#include "base/Array.h"
#include "parser/SameNameObjectMap.h"

#include <unordered_map>
#include <vector>

class FuncInfo;
class MemberVarInfo;
class NodeClassDef;
class NodeFuncDecl;
class NodeFuncDef;
class NodeNSDef;

// The function declarations of a database in the order found, with a count
// of the declarations per info, so that asking whether an info is declared
// here costs the same for a class of ten members as for one of ten thousand.
class FuncDeclList {
public:
    int GetCount() const { return m_Decls.GetCount(); }
    NodeFuncDecl* operator[](int index) const { return m_Decls[index]; }
    void Add(NodeFuncDecl* decl);
    void RemoveAt(int index, int n);
    // True when a declaration has exactly this info.
    bool HasInfo(FuncInfo const& info) const { return m_PerInfo.count(&info) != 0; }
    // The first declaration that is the same function as decl; null if none.
    NodeFuncDecl* FindSame(NodeFuncDecl& decl);

private:
    void Count(NodeFuncDecl* decl, int step);

    Array<NodeFuncDecl*> m_Decls;
    std::unordered_map<FuncInfo const*, int> m_PerInfo;
    // The declarations by qualified name, in order, for FindSame: made on
    // demand, again after a removal or a rename of a function node.
    std::unordered_map<void const*, std::vector<NodeFuncDecl*>> m_ByQualName;
    bool m_bIndexValid = false;
    unsigned m_IndexedRenames = 0;
};

class ClassDB {
public:
    ClassDB() {}
    ClassDB(ClassDB const&) = delete;
    ClassDB& operator=(ClassDB const&) = delete;

    // True when a declaration has exactly this info.
    bool HasFuncObject(FuncInfo const& info) const;
    // The first member variable whose name is name; null if none.
    MemberVarInfo* GetField(char const* name) const;
    // The first declaration that is the same function as the info's
    // declaration; null when none or the info has no node.
    NodeFuncDecl* GetFuncDecl(FuncInfo const& info);
    // The first declaration that matches the name; null if none.
    NodeFuncDecl* GetFuncDecl(char const* name) const;

    // Debug listing of the classes and functions on standard output.
    void Print() const;

    int GetFuncDefCount() const { return m_FuncDefs.GetCount(); }
    int GetFuncDeclCount() const { return m_FuncDecls.GetCount(); }
    int GetClassCount() const { return m_Classes.GetAddedCount(); }
    int GetNamespaceCount() const { return m_Namespaces.GetAddedCount(); }

    Array<NodeFuncDef*> m_FuncDefs;
    FuncDeclList m_FuncDecls;
    Array<MemberVarInfo*> m_MemberVars;
    CSameNameObjectMap<NodeClassDef> m_Classes;
    CSameNameObjectMap<NodeNSDef> m_Namespaces;
};
