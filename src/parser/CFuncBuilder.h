// Builds function declarations and definitions out of the window of last
// nodes of the parser state, at the `;`, `:` or `{` that ends a function
// head, and files them with their owner's info and the class databases.
#pragma once

namespace Lex {
class Token;
}

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

    // At `operator`: the tokens that name the operator (`()`, `[]`, `->`,
    // `new[]`, `bool`, `const char*` ...) up to the `(` of its parameters
    // join the pending identifier and are passed over.
    static void ReadOperatorName(CParserState& state);
    // At a `,` inside round brackets: the nodes read since the innermost
    // open bracket leave the window of last nodes (the entries before the
    // comma are complete), so that a long parameter list never pushes the
    // function's name and return type out of the window.
    static void DropBracketContents(CParserState& state);
    // At `...` in a parameter list: after a type it marks a parameter pack
    // and stays with the type (`Args&&... args`); as a parameter of its own
    // (`const char* fmt, ...`) it becomes a parameter of the list. False
    // elsewhere (a pack expansion in an expression).
    static bool OnEllipsis(CParserState& state);
    // True for the identifiers that specify a declaration without being
    // part of its type: constexpr, consteval, constinit, thread_local.
    static bool IsDeclSpecifier(Lex::Token const* token);
    // True when the statement so far is a friend declaration: its function
    // is no member of the class it stands in.
    static bool IsFriendStatement(CParserState const& state);

private:
    CParserState* m_pState;
};
