// Builds function declarations and definitions out of the window of last
// nodes of the parser state, at the `;`, `:` or `{` that ends a function
// head, and files them with their owner's info and the class databases.
#pragma once

class CParserState;
class InfoWithMembers;
class NodeBlock;
class NodeFuncDecl;
class NodeFuncDef;
class NodeInitDecl;
class QualName;

class CFuncBuilder {
public:
    explicit CFuncBuilder(CParserState* state) : m_pState(state) {}
    CFuncBuilder(CFuncBuilder const&) = delete;
    CFuncBuilder& operator=(CFuncBuilder const&) = delete;

    // The declaration whose head ends at the current token; null when the
    // last nodes show no function head (nothing is changed then).
    NodeFuncDecl* CreateFuncDecl();
    // At `:`: the definition with its initializer list, which becomes the
    // state's pending initializer list; null when no head precedes it.
    NodeFuncDef* CreateFuncDeclWithInitializer();
    // At `;`: a declaration, filed with its owner.
    NodeFuncDecl* CreateFuncDeclWithoutInitializer();
    // At `{`: the definition with its body block, its function scope
    // entered; null when no head precedes it.
    NodeFuncDef* CreateFuncDef();
    NodeFuncDef* AddFuncDef(NodeFuncDecl& decl, NodeInitDecl* initializers, NodeBlock* body);
    void AddFuncDecl(NodeFuncDecl& decl);
    // The info that owns a function of that qualified name; null when none.
    InfoWithMembers* GetScope(QualName* name);

private:
    CParserState* m_pState;
};
