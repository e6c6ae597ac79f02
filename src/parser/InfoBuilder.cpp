#include "parser/InfoBuilder.h"

#include "base/Name.h"
#include "base/StringTokenizer.h"
#include "parser/Info.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDef.h"

#include <cstring>

namespace {

// The closing token of the body block of a class definition.
Lex::Token* BodyEnd(NodeClassDef* def)
{
    NodeBlock* body = def ? def->GetBody() : nullptr;
    return body ? body->GetLastToken() : nullptr;
}

Str Trimmed(char const* text, size_t length)
{
    char const* end = text + length;
    auto blank = [](char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; };
    while (text < end && blank(*text))
        ++text;
    while (end > text && blank(end[-1]))
        --end;
    Str result;
    result.SetData(text, static_cast<size_t>(end - text));
    return result;
}

} // namespace

// ---- ClassInfoBuilder

ClassInfoBuilder::ClassInfoBuilder(ClassInfo& cls) : m_pClass(&cls), m_pInsertToken(BodyEnd(cls.GetDef())) {}

ClassInfoBuilder::ClassInfoBuilder(Str const& name)
    : m_pClass(new ClassInfo(Name::GetName(name))), m_pInsertToken(nullptr)
{
}

Lex::Token* ClassInfoBuilder::WriteChild(Str const& text)
{
    if (!m_pInsertToken)
        return nullptr;
    Lex::Token* token = new Lex::Token(Lex::TOK_STRING_VAL, Lex::Token::cpp_id, text);
    return &m_pInsertToken->AddTokenBefore(*token);
}

Lex::Token* ClassInfoBuilder::WriteChild(Info& info)
{
    return WriteChild(info.AsString());
}

Lex::Token* ClassInfoBuilder::WriteChild(FuncInfo& func)
{
    if (!m_pInsertToken || !func.IsInline())
        return nullptr;
    return WriteChild(static_cast<Info&>(func));
}

FuncInfo* ClassInfoBuilder::AddMember(char const* returnType, char const* name)
{
    FuncInfo* func = new FuncInfo(Name::GetName(name ? name : ""));
    func->SetType(new TypeInfo(returnType ? Name::GetName(returnType) : Info::Unnamed()));
    if (!returnType) {
        if (name && name[0] == '~')
            func->m_bDestructor = true;
        else
            func->m_bConstructor = true;
    }
    m_pClass->AddChild(func);
    return func;
}

void ClassInfoBuilder::AddBase(Str const& name)
{
    m_pClass->m_IsA.Add(new BaseClassInfo(Name::GetName(name)));
}

MemberVarInfo* ClassInfoBuilder::AddMemberVar(Str const& type, Str const& name, bool isPublic)
{
    MemberVarInfo* var = new MemberVarInfo(Name::GetName(name));
    var->SetType(new TypeInfo(Name::GetName(type)));
    var->SetAccess(isPublic ? ACCESS_PUBLIC : ACCESS_PRIVATE);
    m_pClass->AddChild(var);
    return var;
}

// ---- FuncInfoBuilder

FuncInfoBuilder::FuncInfoBuilder(FuncInfo& func) : m_pFunc(&func), m_pClass(nullptr) {}

FuncInfoBuilder::FuncInfoBuilder(ClassInfoBuilder& cls, char const* returnType, Str const& name)
    : m_pFunc(cls.AddMember(returnType, name)), m_pClass(&cls)
{
    if (!m_pFunc->GetParams())
        m_pFunc->SetParams(new ParamListInfo());
}

void FuncInfoBuilder::SetAccessType(AccessTypes access)
{
    m_pFunc->SetAccess(access);
}

void FuncInfoBuilder::SetVirtual()
{
    m_pFunc->SetIsVirtual(true);
}

void FuncInfoBuilder::SetInline()
{
    m_pFunc->SetIsInline(true);
}

void FuncInfoBuilder::AddArg(char const* type, char const* name)
{
    ParamListInfo* params = m_pFunc->GetParams();
    if (!params)
        return;
    params->AddChild(*Name::GetName(name ? name : ""), *new TypeInfo(Name::GetName(type ? type : "")));
}

void FuncInfoBuilder::AddArg(Str const& declaration)
{
    char const* text = declaration.GetBuffer();
    char const* blank = strrchr(text, ' ');
    if (!blank)
        return;
    Str type;
    type.SetData(text, static_cast<size_t>(blank - text));
    AddArg(type.GetBuffer(), blank + 1);
}

void FuncInfoBuilder::AddArgs(Str const& list)
{
    StringTokenizer pieces(list, ',');
    while (pieces.HasMoreTokens()) {
        Str piece = pieces.GetNextToken();
        AddArg(Trimmed(piece.GetBuffer(), piece.GetLength()));
    }
}

void FuncInfoBuilder::SetBody(Str const& text)
{
    m_pFunc->GetBody().SetText(text);
}

void FuncInfoBuilder::Write()
{
    if (m_pClass)
        m_pClass->WriteChild(*m_pFunc);
}
