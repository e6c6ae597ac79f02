// Code fragments: small printable trees that stand for pieces of a
// declaration (class, namespace, block, parameter list, type, function).
// A fragment owns nothing it points to.
#pragma once

#include "scanner/BlockPool.h"
#include "base/GraphNode.h"
#include "base/Str.h"

enum DbNodeTypes : int {
    DB_TEXT0 = 0,
    DB_TEXT1 = 1,
    DB_TYPE = 2,
    DB_TEXT3 = 3,
    DB_TEXT4 = 4,
    DB_CLASS = 5,
    DB_USING = 6,
    DB_NAMESPACE_HEAD = 7,
    DB_BLOCK = 8,
    DB_INIT = 9,
    DB_ROUND = 10,
    DB_FUNC_PARAMS = 11,
    DB_FUNC_BODY = 12,
    DB_FUNC = 13,
    DB_NAMESPACE = 14,
};

class DbNode : public PrintableGraphNode<DbNode> {
public:
    // Code fragments live until the end of the run. They come from the
    // block pool; allocating them here also names them for the leak checker,
    // which is told to let them be.
    static void* operator new(std::size_t size) { return Lex::BlockPool::Alloc(size); }
    static void operator delete(void* p, std::size_t size) { Lex::BlockPool::Free(p, size); }

    explicit DbNode(DbNodeTypes kind) : m_Kind(kind) {}

    // A new fragment of the kind with its opening and closing texts, and
    // text as its own text; null for kind 12 and unknown kinds.
    static DbNode* Create(DbNodeTypes kind, char const* text);

    DbNodeTypes m_Kind;
    Str m_Text;
};

// Prints its own text alone.
class DbNodeText : public DbNode {
public:
    explicit DbNodeText(DbNodeTypes kind) : DbNode(kind) {}
    Str AsString() override { return m_Text; }
};

// Prints the opening text, the children and the closing text.
class DbNodeSpecial : public DbNode {
public:
    DbNodeSpecial(DbNodeTypes kind, char const* open, char const* close)
        : DbNode(kind), m_pClose(close), m_pOpen(open)
    {
    }
    Str AsString() override;

    char const* m_pClose;
    char const* m_pOpen;
};

class DbNodeWithName : public DbNode {
public:
    explicit DbNodeWithName(DbNodeTypes kind) : DbNode(kind) {}
};

class DbNodeClass : public DbNodeWithName {
public:
    DbNodeClass() : DbNodeWithName(DB_CLASS) {}
};

class DbNodeFunc : public DbNodeWithName {
public:
    DbNodeFunc() : DbNodeWithName(DB_FUNC) {}
};

class DbNodeNamespace : public DbNodeWithName {
public:
    DbNodeNamespace() : DbNodeWithName(DB_NAMESPACE) {}
};

template <DbNodeTypes N>
class SimpleNodeCreator : public DbNode {
public:
    SimpleNodeCreator() : DbNode(N) {}
};

class DbNodeType : public SimpleNodeCreator<DB_TYPE> {};
class DbNodeFuncParams : public SimpleNodeCreator<DB_FUNC_PARAMS> {};
class DbNodeFuncBody : public SimpleNodeCreator<DB_FUNC_BODY> {};
