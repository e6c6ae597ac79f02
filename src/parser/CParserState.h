// The state of the structural parser. The parse driver moves it from token to
// token and hands each token to the current parser, which is chosen by the
// kind of the current scope. Everything that outlives one token lives here:
// the token history, the open blocks and scopes, the parts of the statement
// read so far, the window of the last nodes, the template heads, the class
// being parsed, the two class databases and the fatal-error flag.
//
// Nodes, scopes and infos made through the state are never freed by it; they
// live to the end of the run.
#pragma once

#include "base/Array.h"
#include "base/Map.h"
#include "base/Stack.h"
#include "base/Str.h"
#include "parser/CClassParserState.h"
#include "parser/CNonLocalScopeParser.h"
#include "parser/MethodBodyParser.h"
#include "parser/Node.h"
#include "parser/ParseConfig.h"

namespace Lex {
class Token;
class TokenProvider;
}

class ClassDB;
class Name;
class QualName;
class Scope;
class NodeBlock;
class NodeClassDef;
class NodeFuncDecl;
class NodeFuncDef;
class NodeID;
class NodeInitDecl;
class NodeKeyword;
class NodeModifier;
class NodeNSDef;
class NodeOperator;
class NodeRoundBrace;
class NodeSquareBrace;
class NodeTemplateDef;
class NodeTempleInstanceDef;
class NodeType;
class NodeVarDecl;

class CParserState {
public:
    enum { LAST_NODE_SLOTS = 100 };

    CParserState();
    ~CParserState();
    CParserState(CParserState const&) = delete;
    CParserState& operator=(CParserState const&) = delete;

    // ---- One file --------------------------------------------------------
    // Interns the file name; true (and the Java-like mode on for this and
    // every later file) for names ending in ".jak", ".cs" or ".java", in
    // any case.
    bool SetFileName(Str const& name);
    // Prepares the state for the file: the provider's current token is the
    // current token, the file node the only open block, the file scope
    // entered. Called after SetFileName.
    void Init(Lex::TokenProvider& provider, Scope& fileScope, NodeBlock* fileNode);

    // ---- Moving through the tokens ----------------------------------------
    // One step as the driver takes it: forward with a history shift (or stay
    // on the first call after Init or a skip), a pre-processor line passed
    // over; the token reached becomes current. Null at the end of the file.
    Lex::Token* NextToken();
    // The current token becomes the previous one (and the last significant
    // one unless it is white space or a comment); the provider stays.
    void ShiftHistory();
    // Forward to the white-space token that ends the pre-processor line.
    void SkipPreProcessor();
    // Forward to the next token of the type (with stopAtSignificant, to the
    // next token that is not white space or a comment, whatever its type);
    // it is the next token the driver processes.
    void SkipUntil(int type, bool stopAtSignificant);
    // From the current `open` to its matching `close`, which is returned and
    // stays current; null at the end of the file.
    Lex::Token* SkipBlock(int open, int close);
    Lex::Token* SkipCurlyBlock();

    // ---- Scopes and the current parser -------------------------------------
    void SetScope(Scope* scope);
    void UpdateParser();
    void EnterScope(Scope& scope);
    // Leaves the top scope; the file scope is never left.
    void LeaveScope();
    void OnScopeChanged(Scope* left);
    // After a class body's `}`: the next significant token must be `;` or a
    // name (any token in the Java-like mode), else "missing semicolon".
    void OnClassEnd();
    // A specifier that may stand between a class body and its declarators
    // (`} static s;`, `} inline constexpr d{};`, `} typedef T;`).
    static bool IsSpecifierAfterBody(Lex::Token const* token);
    // The current parser, the global-scope parser when none is set.
    CClassHeadParser& GetParser();

    // ---- Ends of blocks and statements -------------------------------------
    void CloseCurly();
    void ResetActStatement();
    void ResetID();
    void CloseNotCurlyBraces();

    // ---- The last nodes ----------------------------------------------------
    void AddNode(Node& node);
    void AddKeyword(NodeKeyword& node);
    // The node added back slots ago (1 the newest, at most 99); null for an
    // empty slot or any other count.
    Node* GetLastNode(int back) const;
    // Distance of the newest identifier node in the window; 0 when an empty
    // slot comes first or there is none.
    int GetLastIDOrOperatorPos() const;
    void RemoveFromLastTokens(int count);
    // The first node of the kind among this statement's nodes.
    Node* GetFromActStatement(NodeTypes kind) const;

    // ---- Recording and registration ----------------------------------------
    void AddBlock(NodeBlock& block);
    void AddClass(NodeClassDef& def);
    void AddNS(NodeNSDef& def);
    void AddFuncDecl(NodeFuncDecl& decl);
    void AddFuncDef(NodeFuncDef& def);

    // Follows count names down from start, else once more from the file
    // scope; null when neither succeeds.
    Scope* FindScope(Scope* start, Array<Name*> const& names, int count) const;

    // Prints "\n<file>(<line>): <message>\n" on standard output; a fatal
    // error ends the file.
    void OnError(char const* message, bool fatal);
    static void PrintError(char const* text);
    // A mistake that leaves the file's structure in doubt: an error at the
    // token (at the file when there is none), and the file fails.
    void OnFatalError(char const* text, Lex::Token* at);

    // ---- Statement assembly ------------------------------------------------
    void OnIdToken();
    void OnTokID() { OnIdToken(); }
    void OnOperatorName() { OnIdToken(); }
    void OnTokOperator() { OnIdToken(); }
    // The qualified name of the pending identifier with the names of the
    // enclosing named blocks in front.
    void GetQualNames(Array<Name*>& names, Lex::Token*& first, Lex::Token*& last);
    // A class head with template arguments (`template<class T> class X<T*>`,
    // `template<> class X<int>`) is a specialization: its name becomes
    // the name as written with them ("X<T*>"), a class apart from X.
    void NameSpecialization(NodeID& name);
    // The spelled name of the qualifier token with its template arguments
    // (`X<T*>::`) when the last of names, so replaced, is a known scope;
    // else null.
    Name* SpecializationQualifier(Array<Name*> const& names, Lex::Token* token) const;
    // The pending template arguments right after the name token; null
    // when there are none.
    NodeTempleInstanceDef* TemplateArgsOf(Lex::Token* name) const;
    QualName* GetQualName(Lex::Token*& first, Lex::Token*& last, Name* extra);
    // The pending identifier as a new identifier node; null when none.
    Node* CreateIDNode();
    Node* GetIdNode(Lex::Token& token) const;
    NodeType* CreateType(NodeID* id, bool record);
    void AddOperator(NodeOperator& op);
    void OpenRound();
    void CloseRound();
    void OpenSquare();
    void CloseSquare();
    void CreateVarDecl(Node& typeOrId);
    void CreateVarDecl();
    void CloseVarDecl();
    void OnTemplateDef();
    void CloseTemplateDef();
    NodeTempleInstanceDef* CreateTemplInstDef(NodeID& id);

    // ---- Declarators, initializers and template arguments --------------------
    // At `<` right after the pending identifier: when the tokens up to a
    // matching `>` read as template arguments, they are passed over unread
    // and the `>` becomes the current token; the arguments become a child of
    // the identifier node the pending identifier turns into (a
    // NodeTempleInstanceDef from `<` through `>`, one per argument list, in
    // order; the id's own range still ends at its last name token). True
    // when the `<` opened template arguments.
    bool ReadTemplateArgs();
    // The `>` that closes the angle bracket at less (or the `>>` that closes
    // it together with an enclosing one), brackets and nested angle
    // brackets counted; null when a `;`, `{`, `}`, `=`, `&&`, `||`, `>=`,
    // `>>=` or an unmatched closing bracket comes first, so the `<` is a
    // comparison. In a template head (inHead) `=`, `&&` and `||` do not
    // stop the search.
    static Lex::Token* FindAngleClose(Lex::Token* less, bool inHead = false);
    // White space, comments and tokens of pre-processor lines.
    static bool IsBlankToken(Lex::Token const* t);
    // The next token after t that is not blank; null at the end of the list.
    static Lex::Token* NextSignificant(Lex::Token* t);
    // After the `=` that ended a declarator: the initializer is passed over
    // up to the `,` or `;` that ends it (or the `)` or `}` that closes the
    // enclosing bracket), which the driver processes next.
    void SkipInitializer();
    // At a `{` in a file, namespace or class body: a braced initializer of
    // the pending declarator (`int x{5};`), or a brace inside an open round
    // bracket, is passed over to its `}`; true then. The declarator joins
    // the open variable declaration as with `=`.
    bool OnBraceInitializer();
    // At `(` after a type and a name, outside functions, when the bracket
    // begins with what only an expression begins with (a literal, `-`,
    // `!`, `this`, ...): `int x(3);` declares a variable, no function. The
    // bracket is passed over to its `)`; true then.
    bool OnParenInitializer();
    // `struct tm t{};`: a name after the class name of a head makes the
    // head an elaborated type; the class name becomes a type node and the
    // statement no class head.
    void TakeClassNameAsType(NodeID& name);
    // `decltype(expr)` (and GNU `typeof`) at the current token, outside
    // functions: the whole group becomes a type node named as written and
    // is passed over; true then.
    bool OnTypeOfExpression();
    // At `:` in a class body after a type and a name: the name is a
    // bit-field declarator and its width is passed over; true then.
    bool OnBitFieldColon();
    // The variable declaration of the pending declarator (made when there is
    // none yet); false when no type precedes it.
    bool DeclareVariable();
    // At the `:` of a constructor's initializer list: passes over the
    // entries (`v{1, 2}` and `w(3)` alike) to the `{` of the body, which the
    // driver processes next.
    void SkipInitializerList();
    // The `{` that starts the body after the initializer list at colon;
    // null when the file ends first.
    static Lex::Token* FindBodyAfterInitializers(Lex::Token* colon);
    // Moves the provider to target, which becomes the current token; with
    // processNext it is the next token the driver processes, else the
    // driver moves past it.
    void SkipTo(Lex::Token* target, bool processNext);
    // At `)`: a parenthesised declarator after a type (`void (*cb)(int)`,
    // `int (&r)[2]`) names a variable: its name becomes the declarator of a
    // declaration over that type, and the parameter lists and bounds after
    // it are passed over. True when the bracket was such a declarator (it
    // is closed then).
    bool OnDeclaratorParen();
    // Names the info of type as written from the type's first token through
    // last, the declarator's name left out (`int (*p)(int)` gives
    // `int(*)(int)`), and makes it a type by value.
    void SetDeclaratorTypeName(NodeType& type, Lex::Token* name, Lex::Token* last);
    // True when the statement is a `typedef` or a `using` declaration: its
    // names are no variables.
    bool IsTypeAlias() const;
    // True when the statement's last keyword is a class key, `enum` or
    // `namespace`.
    bool IsClassHeadStatement() const;
    // True when the pending identifier is an operator name.
    bool PendingIsOperatorName() const;

    bool IsJavaLike() const { return m_bJavaLike; }
    // Whether the file being parsed itself is Java-like (the mode above
    // stays on for the files after one).
    bool IsJavaLikeFile() const { return m_bJavaLikeFile; }
    Name* GetFileName() const { return m_pFileName; }
    ClassDB* GetFileDB() const { return m_pFileDB; }
    void SetFileDB(ClassDB* db) { m_pFileDB = db; }
    ClassDB* GetProjectDB() const { return m_pProjectDB; }
    void SetProjectDB(ClassDB* db) { m_pProjectDB = db; }
    bool IsFatalError() const { return m_bFatalError; }
    Scope* GetActScope() const { return m_pActScope; }
    // The bottom of the scope stack; null before Init.
    Scope* GetFileScope() const { return m_ScopeStack.GetCount() ? m_ScopeStack[0] : nullptr; }
    // The top of the scope stack; null before Init.
    Scope* GetTopScope() const;

    bool m_bJavaLike;
    bool m_bJavaLikeFile;
    // The access of a Java-like member without an access word.
    Lex::CTokens m_DefaultAccess;
    Name* m_pFileName;
    Lex::Token* m_pActToken;
    Lex::Token* m_pPrevToken;
    Lex::Token* m_pPrevPrevToken;
    Lex::Token* m_pLastSignificantToken;
    // The first token of the statement being read (after a `;`, `{` or `}`);
    // null before its first one.
    Lex::Token* m_pStatementStart;
    NodeKeyword* m_pLastKeyword;
    NodeBlock* m_pActBlock;
    Node* m_pLastNode;
    int m_ActTokenType;
    bool m_bStarted;
    Array<Scope*> m_ScopeStack;
    Scope* m_pActScope;
    NodeFuncDef* m_pActFunction;
    NodeNSDef* m_pActNamespace;
    NodeVarDecl* m_pVarDecl;
    NodeTemplateDef* m_pOpenTemplate;
    NodeTemplateDef* m_pClosedTemplate;
    CClassParserState m_ClassState;
    Lex::TokenProvider* m_pProvider;
    Stack<NodeRoundBrace*> m_RoundBraces;
    Stack<NodeSquareBrace*> m_SquareBraces;
    Array<NodeNSDef*> m_NSStack;
    Array<NodeBlock*> m_BlockStack;
    Array<Lex::Token*> m_PendingID;
    // Template argument lists read since the pending identifier began; they
    // go to the identifier node made of it.
    Array<NodeTempleInstanceDef*> m_PendingTemplArgs;
    // The `>` that closed the last template argument list read.
    Lex::Token* m_pTemplArgsEnd;
    NodeInitDecl* m_pInitDecl;
    Array<NodeType*> m_StatementTypes;
    Array<NodeModifier*> m_PendingModifiers;
    Array<Node*> m_StatementNodes;
    // Identifier nodes under the last token of their identifier; per file.
    Map<Lex::Token*, Node*> m_IdNodes;
    ParseConfig m_Config;
    ClassDB* m_pFileDB;
    ClassDB* m_pProjectDB;
    Node* m_LastNodes[LAST_NODE_SLOTS];
    int m_LastNodePos;
    CClassHeadParser* m_pActParser;
    MethodBodyParser m_MethodBodyParser;
    CClassBodyParser m_ClassBodyParser;
    CGlobalScopeParser m_GlobalScopeParser;
    CAspectParser m_AspectParser;
    bool m_bFatalError;

private:
    void ClearLastNodes();
    void SetActToken(Lex::Token* token);
};
