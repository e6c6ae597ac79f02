// Walks the tokens of one function (a constructor's initializer list and
// its body) and reports uses of `this`, `super`, `new`, members of the
// composed class and meta variables (<Name>) to a BodyParseEvents object.
// It changes tokens only for meta variables; invalid `super` calls are
// reported as errors through the message log.
#pragma once

#include "base/Map.h"
#include "scanner/TokenIterator.h"

class BodyParseEvents;
class ComposedClass;
class FuncInfo;
class FuncNode;
class NodeFuncDef;

class FuncBodyParser {
public:
    // From the token after the declaration (so an initializer list is
    // included) through the body's closing brace; an empty range for a
    // definition without body.
    FuncBodyParser(NodeFuncDef& def, BodyParseEvents& events);
    // An explicit range of tokens of the function.
    FuncBodyParser(FuncNode& node, Lex::Token* first, Lex::Token* last, BodyParseEvents& events);
    FuncBodyParser(FuncBodyParser const&) = delete;
    FuncBodyParser& operator=(FuncBodyParser const&) = delete;

    // Walks the range once from its start; false when it has no first token.
    bool Parse();

    // Registers a meta-variable name for all body parsers.
    static void AddMetaVar(char const* name);

    // The composed class of that name in the composition of the walked
    // composed class; null without one.
    ComposedClass* GetModule(char const* className);
    // True when the class is a composed class with a member of that name
    // whose type is static.
    bool IsStaticMember(char const* className, char const* memberName);

    // Report `new` expressions (OnClassInstantiation).
    bool m_bReportInstantiations;
    // Report identifiers that name members (OnMemberAccess, OnStaticMemberAccess).
    bool m_bReportMemberUses;
    BodyParseEvents* m_pEvents;
    bool m_bBodyReached;
    // The `{` that opens the body; null when unknown (the first `{` then
    // counts). Braces of an initializer list (`v{1, 2}`) come before it.
    Lex::Token* m_pBodyStart;
    FuncNode* m_pFunc;
    // The function this one refines; null when it refines nothing.
    FuncInfo* m_pRefined;
    Lex::Token* m_pFirst;
    Lex::Token* m_pLast;
    // The last two non-white tokens the walk handled itself.
    Lex::Token* m_pPrev;
    Lex::Token* m_pPrevPrev;
    // `::` in C and C++ files, `.` in the Java-like ones; aspects take both.
    int m_ScopeSeparator;
    bool m_bAnySeparator;
    // A Java-like file, where `super.g()` calls the base class's g.
    bool m_bJavaLike;
    Lex::TokenIterator m_Iter;
    // The composed class whose members are looked for; null until set.
    ComposedClass* m_pModule;

    static StringSet m_MetaVars;

private:
    // One step per token kind; Parse does not use their results.
    bool ParseNew(Lex::Token& token);
    bool ParseGreater(Lex::Token& token);
    bool ParseID(Lex::Token& token);
    bool ParseThis(Lex::Token& token);
    bool ParseSuper(Lex::Token& token);

    void Init(FuncNode& node);
    bool BeforeBody() const { return !m_bBodyReached; }
    // Plain look-ahead: the next token of the range, consumed; null when the
    // range is used up.
    Lex::Token* Consume();
    bool HasNext() const { return m_Iter.current && !m_Iter.done; }
    // The first non-white token still in the range; nothing is consumed.
    Lex::Token* Peek() const;
    // True when `::` follows the name (after its template arguments, if
    // any) within the range: the name qualifies another one.
    bool IsQualifier(Lex::Token& name) const;
    // The text of the private-refinement error for the name token.
    Str PrivateRefinementText(Lex::Token& name) const;
};
