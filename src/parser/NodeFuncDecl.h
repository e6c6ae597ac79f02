// A function declaration (head): children 0 the return type or null, 1 the
// `~` of a destructor or null, 2 the name id, 3 the parameter list, 4 a
// trailing modifier or null. It is tied to the function's FuncInfo.
#pragma once

#include "parser/Node.h"
#include "parser/TokenRange.h"

class FuncInfo;
class InfoWithMembers;
class NodeClassDef;
class NodeFuncParams;
class NodeModifier;
class NodeOperator;
class NodeType;
class QualName;
class TypeInfo;

class NodeFuncDecl : public FuncNode, public LastToken {
public:
    // Finds or makes the info (GetInfo), fills the five positions, gives the
    // info the return type (when it is this declaration's) and the
    // parameter list's info.
    NodeFuncDecl(InfoWithMembers& members, NodeType* type, NodeOperator* op, NodeID& id, NodeFuncParams& params,
                 NodeModifier* modifier);

    // The info of the function in members with the same name, aspect kind,
    // destructor mark and parameters; else a new info over decl.
    static FuncInfo* GetInfo(InfoWithMembers& members, NodeFuncDecl& decl, NodeID& id, NodeFuncParams& params,
                             NodeOperator* op);
    // The cv- and ref-qualifiers after the parameter list, joined by one
    // blank ("const &"); specifiers with parentheses (`noexcept(..)`) and a
    // trailing return type are passed over.
    static Str ReadQualifiers(NodeFuncParams& params);

    // "<type> " when there is a return type, "~" for a destructor in its
    // class, the name, the parameters and the trailing modifier.
    Str AsString() override;
    Name* GetName() const override;
    // The first token of the return type, else of the name.
    Lex::Token* GetToken() override;
    NodeID* GetNameNode() override;
    NodeFuncDecl* GetDecl() override { return this; }
    NodeFuncDef* GetDef() override { return m_pDef; }
    virtual QualName* GetQualName() const;

    NodeType* GetReturnType() const;
    NodeOperator* GetOperator() const;
    NodeID* GetID() const;
    NodeFuncParams* GetParams() const;
    NodeModifier* GetModifier() const;
    FuncInfo* GetInfo() const { return m_pInfo; }
    NodeClassDef* GetClass() const { return m_pClass; }
    void SetDef(NodeFuncDef* def) { m_pDef = def; }

    // The type becomes the info's return type, unless the info belongs to
    // another declaration.
    void SetReturnTypeInfo(TypeInfo& type);
    // Stores the class and lets the info recompute its flags.
    void SetClass(NodeClassDef* cls);
    void UpdateDbgInfo() {}

    // True inside a class whose name is the function's name.
    bool NameIsClassName() const;
    // Same qualified name, pointcut or not, constructor/destructor role and
    // parameter types.
    bool IsSame(NodeFuncDecl& other);
    bool MatchesName(char const* text) const;
    // Compares with the qualified name's text ("::A::f").
    bool MatchesQualName(char const* text) const;

    // Renames the name id and its tokens, and the info.
    bool Rename(char const* text);
    // Writes `inline` in front of the return type (or marks the inline
    // modifier again), unlinks a `virtual` token, and marks the info inline
    // and not virtual. Only for C++ sources and declarations with a return
    // type.
    void SetIsInline();
    // Replaces the return type by a free-text token: over the former type's
    // tokens, or in front of the name (before a destructor's `~`) followed
    // by a blank. Nothing when the name has no token in a list.
    void SetReturnType(Str const& text);
    // An empty return type when is, else type.
    void SetIsConstructor(bool is, Str const& type);
    // As SetIsConstructor; adds a `~` in front of the name when is, removes
    // it when not.
    void SetIsDestructor(bool is, Str const& type);

    NodeClassDef* m_pClass;
    NodeFuncDef* m_pDef;
    FuncInfo* m_pInfo;
    // A friend function declared in a class: no member of it, and kept out
    // of the class databases.
    bool m_bFriend = false;

private:
    // The name's first token when it is in a list.
    Lex::Token* NameToken() const;
};
