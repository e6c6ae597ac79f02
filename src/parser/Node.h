// Syntax nodes: the common base of every node kind. A node marks tokens of a
// unit's token list (one token, a range, or only children); the token list
// is edited through the nodes. Nodes never own their children or tokens.
#pragma once

#include "scanner/BlockPool.h"
#include "base/GraphNode.h"
#include "base/Str.h"
#include "scanner/Token.h"

#include <cstddef>
#include <cstdint>
#include <new>

class Name;
class Scope;
class NodeToken;
class NodeID;
class NodeFuncDecl;
class NodeFuncDef;

// Node kind numbers. 23, 24 and 25 are not given to any class.
enum NodeTypes : int {
    NT_BLOCK = 0,
    NT_ID = 1,
    NT_FILE = 2,
    NT_CLASS_DECL = 3,
    NT_CLASS_DEF = 4,
    NT_BASE_CLASS_DECL = 5,
    NT_BASE_CLASS = 6,
    NT_ROUND_BRACE = 7,
    NT_SQUARE_BRACE = 8,
    NT_FUNC_PARAMS = 9,
    NT_FUNC_DEF = 10,
    NT_FUNC_DECL = 11,
    NT_INIT_DECL = 12,
    NT_NS_DECL = 13,
    NT_NS_DEF = 14,
    NT_TOKEN = 15,
    NT_TYPE = 16,
    NT_MODIFIER = 17,
    NT_CLASS_MODIFIER = 18,
    NT_VALUE = 19,
    NT_USING = 20,
    NT_KEYWORD = 21,
    NT_OPERATOR = 22,
    NT_VAR_DECL = 26,
    NT_VARIABLE_LIST = 27,
    NT_ASSIGNMENT = 28,
    NT_TEMPLATE_DEF = 29,
    NT_TEMPLE_INSTANCE_DEF = 30,
};

// Source language codes of GetLanguage.
enum SourceLanguage : uint32_t {
    LANG_UNKNOWN = 0,
    LANG_CPP = 1,  // h, cpp, c
    LANG_CPP2 = 2, // never found; treated like LANG_CPP
    LANG_CS = 3,
    LANG_ASPECT = 4, // acc, ah
    LANG_JAVA = 5,
    LANG_JAK = 6,
};

class Node : public PrintableGraphNode<Node> {
public:
    // Syntax nodes live until the end of the run. They come from the
    // block pool; allocating them here also names them for the leak checker,
    // which is told to let them be.
    static void* operator new(std::size_t size) { return Lex::BlockPool::Alloc(size); }
    static void operator delete(void* p, std::size_t size) { Lex::BlockPool::Free(p, size); }

    explicit Node(NodeTypes kind);
    ~Node() override;

    virtual Name* GetName() const { return nullptr; }
    virtual NodeToken* GetNodeToken() { return nullptr; }
    virtual Lex::Token* GetToken() { return nullptr; }
    // Deletes (unlinks) the node's own tokens; the base handles single-token
    // nodes and does nothing for the others.
    virtual void DeleteTokens();

    NodeTypes GetKind() const { return m_Kind; }

    // Child index, or null when the position does not exist.
    Node* ChildAt(int index) const { return index >= 0 && index < GetChildCount() ? m_Childs[index] : nullptr; }
    // The child at index when it is a node of the given kind; null otherwise.
    template <class T>
    T* ChildAs(int index, NodeTypes kind) const
    {
        Node* child = ChildAt(index);
        return child && child->GetKind() == kind ? static_cast<T*>(child) : nullptr;
    }
    // Index of child among the children, -1 when it is none of them.
    int IndexOfChild(Node const* child) const;
    // Puts child into position index (made, empty, when missing); a child
    // that is not null gets this node as parent. A former occupant is only
    // dropped from the position.
    void SetChild(int index, Node* child);
    // Takes child out of the children (later ones move down) and clears its
    // parent; false when it is none of them.
    bool RemoveChild(Node* child);

    // The scope of this node or of its nearest ancestor that has one.
    Scope* GetScope();
    void SetScope(Scope* scope) { m_pScope = scope; }

    // The language code from the extension of the file the node's token came
    // from; a result of 0 is not cached.
    uint32_t GetLanguage();
    // The language code of a file name by its extension (any case).
    static uint32_t LanguageOfFile(char const* fileName);

    // Nodes made in the run; only counted.
    static int m_NodeCount;
    // Mode flag of the other compiler family; never switched on.
    static bool m_bMsVc;

protected:
    uint32_t m_Language;
    NodeTypes m_Kind; // beside the language: no padding of its own
    Scope* m_pScope;
};

// Common base of function declarations and definitions.
class FuncNode : public Node {
public:
    explicit FuncNode(NodeTypes kind) : Node(kind) {}

    virtual NodeID* GetNameNode() = 0;
    virtual NodeFuncDecl* GetDecl() = 0;
    virtual NodeFuncDef* GetDef() = 0;

    bool IsDecl();
};
