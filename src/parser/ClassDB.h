// The class database of a parsed file, and the project-wide one: function
// declarations and definitions, member variables, classes and namespaces in
// the order the parser found them. It only points at nodes and infos.
#pragma once

#include "base/Array.h"
#include "parser/SameNameObjectMap.h"

class FuncInfo;
class MemberVarInfo;
class NodeClassDef;
class NodeFuncDecl;
class NodeFuncDef;
class NodeNSDef;

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
    NodeFuncDecl* GetFuncDecl(FuncInfo const& info) const;
    // The first declaration that matches the name; null if none.
    NodeFuncDecl* GetFuncDecl(char const* name) const;

    // Debug listing of the classes and functions on standard output.
    void Print() const;

    int GetFuncDefCount() const { return m_FuncDefs.GetCount(); }
    int GetFuncDeclCount() const { return m_FuncDecls.GetCount(); }
    int GetClassCount() const { return m_Classes.GetAddedCount(); }
    int GetNamespaceCount() const { return m_Namespaces.GetAddedCount(); }

    Array<NodeFuncDef*> m_FuncDefs;
    Array<NodeFuncDecl*> m_FuncDecls;
    Array<MemberVarInfo*> m_MemberVars;
    CSameNameObjectMap<NodeClassDef> m_Classes;
    CSameNameObjectMap<NodeNSDef> m_Namespaces;
};
