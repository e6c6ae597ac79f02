#include "parser/ClassDB.h"

#include "parser/Info.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeFuncDef.h"

#include <cstdio>
#include <cstring>

bool ClassDB::HasFuncObject(FuncInfo const& info) const
{
    for (int i = 0; i < m_FuncDecls.GetCount(); ++i)
        if (m_FuncDecls[i]->GetInfo() == &info)
            return true;
    return false;
}

MemberVarInfo* ClassDB::GetField(char const* name) const
{
    if (!name)
        return nullptr;
    size_t length = strlen(name);
    for (int i = 0; i < m_MemberVars.GetCount(); ++i) {
        MemberVarInfo* field = m_MemberVars[i];
        char const* text = field->GetNameText();
        if (text && strlen(text) == length && memcmp(text, name, length) == 0)
            return field;
    }
    return nullptr;
}

NodeFuncDecl* ClassDB::GetFuncDecl(FuncInfo const& info) const
{
    FuncNode* node = info.GetNode();
    NodeFuncDecl* decl = node ? node->GetDecl() : nullptr;
    if (!decl)
        return nullptr;
    for (int i = 0; i < m_FuncDecls.GetCount(); ++i)
        if (m_FuncDecls[i]->IsSame(*decl))
            return m_FuncDecls[i];
    return nullptr;
}

NodeFuncDecl* ClassDB::GetFuncDecl(char const* name) const
{
    for (int i = 0; i < m_FuncDecls.GetCount(); ++i)
        if (m_FuncDecls[i]->MatchesName(name))
            return m_FuncDecls[i];
    return nullptr;
}

void ClassDB::Print() const
{
    printf("**** CLASSES ****\n\n");
    Array<Name*> names;
    m_Classes.GetAllNames(names);
    for (int i = 0; i < names.GetCount(); ++i)
        printf("\t%s\n", names[i] ? names[i]->c_str() : "");
    printf("\n**** FUNCS ****\n\n");
    for (int i = 0; i < m_FuncDecls.GetCount(); ++i)
        printf("\tdecl\t%s\n", m_FuncDecls[i]->AsString().GetBuffer());
    for (int i = 0; i < m_FuncDefs.GetCount(); ++i)
        printf("\tdef\t%s\n", m_FuncDefs[i]->AsString().GetBuffer());
    printf("***************\n\n");
}
