// The scope tree the parser keeps beside the node tree: the file, each
// namespace, class or aspect body, each function body and each asm block
// opens a scope. A scope knows its kind, the node that opened it, its parent
// and its named children, and leads to the info that collects its members.
// Scopes never own their children, nodes or infos.
#pragma once

#include "scanner/BlockPool.h"
#include "base/Array.h"
#include "base/Map.h"

class Info;
class InfoWithMembers;
class Name;
class Node;
class NodeClassDef;
class NodeFile;
class NodeFuncDef;
class NodeNSDef;

enum ScopeType : int {
    SCOPE_FILE = 0,
    SCOPE_NAMESPACE = 1,
    SCOPE_CLASS = 2,
    SCOPE_ASPECT = 3,
    SCOPE_FUNCTION = 4,
    SCOPE_ASM = 5,
};

class Scope {
public:
    // Scopes live until the end of the run. They come from the
    // block pool; allocating them here also names them for the leak checker,
    // which is told to let them be.
    static void* operator new(std::size_t size) { return Lex::BlockPool::Alloc(size); }
    static void operator delete(void* p, std::size_t size) { Lex::BlockPool::Free(p, size); }

    Scope(ScopeType type, Node& node);
    // Frees the per-name arrays; the child scopes stay.
    virtual ~Scope();
    Scope(Scope const&) = delete;
    Scope& operator=(Scope const&) = delete;

    virtual Info* GetInfo() = 0;
    virtual InfoWithMembers* GetInfoWithWembers() { return nullptr; }
    virtual bool HasMembers() { return false; }

    // Files the child under the name of its node and becomes its parent;
    // nothing when that node has no name.
    void AddChild(Scope& child);
    // The first child filed under the name; null when there is none.
    Scope* GetFirstChild(Name* name) const;

    ScopeType GetType() const { return m_Type; }
    Node& GetNode() const { return *m_pNode; }
    Scope* GetParent() const { return m_pParent; }

    Map<Name*, Array<Scope*>*> m_Children;

protected:
    ScopeType m_Type;
    Node* m_pNode;
    Scope* m_pParent;
};

// The scopes whose info holds member functions and variables.
class ScopeWithFunctions : public Scope {
public:
    ScopeWithFunctions(ScopeType type, Node& node) : Scope(type, node) {}

    InfoWithMembers* GetInfoWithWembers() override;
    bool HasMembers() override { return true; }
};

class FileScope : public ScopeWithFunctions {
public:
    explicit FileScope(NodeFile& node);

    Info* GetInfo() override;
};

class NSScope : public ScopeWithFunctions {
public:
    explicit NSScope(NodeNSDef& node);

    Info* GetInfo() override;
};

class ClassScope : public ScopeWithFunctions {
public:
    explicit ClassScope(NodeClassDef& node);
    ClassScope(ScopeType type, NodeClassDef& node);

    Info* GetInfo() override;
    NodeClassDef& GetClassDef() const;
};

class AspectScope : public ClassScope {
public:
    explicit AspectScope(NodeClassDef& node) : ClassScope(SCOPE_ASPECT, node) {}
};

class FuncScope : public Scope {
public:
    explicit FuncScope(NodeFuncDef& node);

    Info* GetInfo() override;
};

// An asm block; its node is the keyword node of the `asm` that opens it, so
// asm scopes are filed under the name "asm".
class AsmScope : public Scope {
public:
    explicit AsmScope(Node& keyword) : Scope(SCOPE_ASM, keyword) {}

    Info* GetInfo() override { return nullptr; }
};
