// Builders that make infos from text and write generated members into a
// class's token list.
#pragma once

#include "base/Str.h"
#include "parser/AccessTypes.h"
#include "scanner/Token.h"

class Info;
class ClassInfo;
class FuncInfo;
class MemberVarInfo;

class ClassInfoBuilder {
public:
    // Over an existing class; members are written in front of the closing
    // brace of its body.
    explicit ClassInfoBuilder(ClassInfo& cls);
    // Over a new class of that name, which has no tokens to write into.
    explicit ClassInfoBuilder(Str const& name);

    // Inserts text as one free-text token before the closing brace; null
    // when there is nowhere to write.
    Lex::Token* WriteChild(Str const& text);
    Lex::Token* WriteChild(Info& info);
    // Writes only inline functions.
    Lex::Token* WriteChild(FuncInfo& func);

    // A new member function; a null return type makes a constructor, or a
    // destructor when the name begins with '~'.
    FuncInfo* AddMember(char const* returnType, char const* name);
    void AddBase(Str const& name);
    MemberVarInfo* AddMemberVar(Str const& type, Str const& name, bool isPublic);

    ClassInfo* GetClass() const { return m_pClass; }
    Lex::Token* GetInsertionToken() const { return m_pInsertToken; }

private:
    ClassInfo* m_pClass;
    Lex::Token* m_pInsertToken;
};

class FuncInfoBuilder {
public:
    explicit FuncInfoBuilder(FuncInfo& func);
    // Adds a member function with an empty parameter list to the class.
    FuncInfoBuilder(ClassInfoBuilder& cls, char const* returnType, Str const& name);

    void SetAccessType(AccessTypes access);
    void SetVirtual();
    void SetInline();
    // Appends a parameter; nothing when the function has no parameter list.
    void AddArg(char const* type, char const* name);
    // "type name", split at the last blank; nothing without a blank.
    void AddArg(Str const& declaration);
    // A comma-separated list of declarations.
    void AddArgs(Str const& list);
    void SetBody(Str const& text);
    // Writes the function into the class (inline functions only).
    void Write();

    FuncInfo* GetFunc() const { return m_pFunc; }

private:
    FuncInfo* m_pFunc;
    ClassInfoBuilder* m_pClass;
};
