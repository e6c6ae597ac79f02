#include "parser/ClassDB.h"

#include "base/Diagnostics.h"
#include "parser/Info.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeFuncDef.h"
#include "parser/NodeID.h"

#include <cstring>

void FuncDeclList::Add(NodeFuncDecl* decl)
{
    m_Decls.Add(decl);
    Count(decl, 1);
    if (m_bIndexValid && decl)
        m_ByQualName[decl->GetQualName()].push_back(decl);
}

void FuncDeclList::RemoveAt(int index, int n)
{
    for (int i = index; i < index + n && i < m_Decls.GetCount(); ++i)
        Count(m_Decls[i], -1);
    m_Decls.RemoveAt(index, n);
    m_bIndexValid = false;
}

NodeFuncDecl* FuncDeclList::FindSame(NodeFuncDecl& decl)
{
    if (!m_bIndexValid || m_IndexedRenames != NodeID::GetRenameCount()) {
        m_ByQualName.clear();
        for (int i = 0; i < m_Decls.GetCount(); ++i)
            if (NodeFuncDecl* d = m_Decls[i])
                m_ByQualName[d->GetQualName()].push_back(d);
        m_bIndexValid = true;
        m_IndexedRenames = NodeID::GetRenameCount();
    }
    // The same function has the same qualified name.
    auto it = m_ByQualName.find(decl.GetQualName());
    if (it != m_ByQualName.end())
        for (NodeFuncDecl* candidate : it->second)
            if (candidate->IsSame(decl))
                return candidate;
    return nullptr;
}

// A declaration's info is fixed when the declaration is made.
void FuncDeclList::Count(NodeFuncDecl* decl, int step)
{
    FuncInfo const* info = decl ? decl->GetInfo() : nullptr;
    if (!info)
        return;
    auto it = m_PerInfo.emplace(info, 0).first;
    it->second += step;
    if (it->second <= 0)
        m_PerInfo.erase(it);
}

bool ClassDB::HasFuncObject(FuncInfo const& info) const
{
    return m_FuncDecls.HasInfo(info);
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

NodeFuncDecl* ClassDB::GetFuncDecl(FuncInfo const& info)
{
    FuncNode* node = info.GetNode();
    NodeFuncDecl* decl = node ? node->GetDecl() : nullptr;
    return decl ? m_FuncDecls.FindSame(*decl) : nullptr;
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
    Diagnostics::Printf(DiagKind::Listing, DiagFlush::None, "**** CLASSES ****\n\n");
    Array<Name*> names;
    m_Classes.GetAllNames(names);
    for (int i = 0; i < names.GetCount(); ++i)
        Diagnostics::Printf(DiagKind::Listing, DiagFlush::None, "\t%s\n", names[i] ? names[i]->c_str() : "");
    Diagnostics::Printf(DiagKind::Listing, DiagFlush::None, "\n**** FUNCS ****\n\n");
    for (int i = 0; i < m_FuncDecls.GetCount(); ++i)
        Diagnostics::Printf(DiagKind::Listing, DiagFlush::None, "\tdecl\t%s\n", m_FuncDecls[i]->AsString().GetBuffer());
    for (int i = 0; i < m_FuncDefs.GetCount(); ++i)
        Diagnostics::Printf(DiagKind::Listing, DiagFlush::None, "\tdef\t%s\n", m_FuncDefs[i]->AsString().GetBuffer());
    Diagnostics::Printf(DiagKind::Listing, DiagFlush::None, "***************\n\n");
}
