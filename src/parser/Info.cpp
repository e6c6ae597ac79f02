#include "parser/Info.h"

#include "base/Name.h"
#include "parser/DbNode.h"
#include "parser/Node.h"
#include "parser/PrintConfig.h"

#include <cstring>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\r' || c == '\n' || c == '\t';
}

bool IsWordChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$';
}

// Removes every stand-alone occurrence of word; the word inside a longer
// identifier ("virtualize", "is_virtual") stays.
void RemoveWord(Str& text, char const* word)
{
    size_t const n = strlen(word);
    char const* s = text.GetBuffer();
    size_t const length = text.GetLength();
    Str result;
    size_t i = 0;
    while (i < length) {
        bool const starts = (i == 0 || !IsWordChar(s[i - 1])) && i + n <= length && strncmp(s + i, word, n) == 0
            && (i + n == length || !IsWordChar(s[i + n]));
        if (starts) {
            i += n;
            continue;
        }
        result += s[i];
        ++i;
    }
    text = result;
}

} // namespace

// ---- Info

Info::Info(Name* name) : m_pDbNode(nullptr), m_pName(name ? name : Unnamed()) {}

Info::~Info() {}

unsigned Info::s_MemberRenames = 0;

void Info::SetName(Name* name)
{
    if (name != m_pName && dynamic_cast<InfoWithMembers*>(m_pParent))
        ++s_MemberRenames;
    m_pName = name;
}

Name* Info::Unnamed()
{
    return Name::GetName("__unnamed__");
}

char const* Info::GetNameText() const
{
    char const* text = m_pName ? m_pName->c_str() : nullptr;
    return text ? text : "";
}

Str Info::AsString()
{
    return Str(GetNameText());
}

void Info::SetChild(int index, Info* child)
{
    while (m_Childs.GetCount() <= index)
        m_Childs.Add(nullptr);
    m_Childs[index] = child;
    if (child)
        child->m_pParent = this;
}

DbNode* Info::GetDbNode()
{
    if (!m_pDbNode)
        m_pDbNode = CreateDbNode();
    return m_pDbNode;
}

void Info::AddChildDbNodes(DbNode& node)
{
    for (int i = 0; i < GetChildCount(); ++i) {
        Info* child = GetChild(i);
        if (!child)
            continue;
        if (DbNode* fragment = child->GetDbNode())
            node.AddChild(fragment);
    }
}

// ---- InfoWithMembers

bool InfoWithMembers::HasMember(Info const& info)
{
    if (std::vector<int> const* members = MembersNamed(info.GetName(), false))
        for (int i : *members)
            if (GetChild(i) == &info)
                return true;
    return false;
}

FuncInfo* InfoWithMembers::FindFuncInfo(Name& name, AOPInfo::AopTypes aop, ParamListInfo* params, bool destructor,
                                        char const* qualifiers)
{
    std::vector<int> const* members = MembersNamed(&name, false);
    if (!members)
        return nullptr;
    for (int i : *members) {
        Info* child = GetChild(i);
        if (!child || child->GetName() != &name)
            continue;
        FuncInfo* func = child->GetFuncInfo();
        if (!func || func->m_AopType != aop)
            continue;
        if (params && (func->m_bDestructor != destructor || !func->SameParams(*params)))
            continue;
        if (qualifiers && !(func->m_Qualifiers == qualifiers))
            continue;
        return func;
    }
    return nullptr;
}

// ---- TypeInfo

TypeInfo::TypeInfo(Name* name)
    : InfoPrint<TypeInfo, Info>(name), m_Indirection(BY_VALUE), m_bConst(false), m_bVirtual(false),
      m_bStatic(false), m_bInline(false), m_bAbstract(false)
{
}

bool TypeInfo::SameType(TypeInfo& other) const
{
    // `const T&` and `T&` are different parameter types; a by-value
    // parameter's own const is no part of the function's type.
    if (m_Indirection != BY_VALUE && m_bConst != other.m_bConst)
        return false;
    return m_pName == other.m_pName && m_Indirection == other.m_Indirection;
}

DbNode* TypeInfo::CreateDbNode()
{
    DbNode* node = new DbNodeType;
    node->m_Text = AsString();
    AddChildDbNodes(*node);
    return node;
}

// ---- FuncBodyInfo

FuncInfo* FuncBodyInfo::GetFunc() const
{
    return m_pParent ? m_pParent->GetFuncInfo() : nullptr;
}

DbNode* FuncBodyInfo::CreateDbNode()
{
    DbNode* node = new DbNodeFuncBody;
    node->m_Text = m_Text;
    AddChildDbNodes(*node);
    return node;
}

// ---- ParamListInfo

Str ParamListInfo::TypesAsString()
{
    Str text;
    bool first = true;
    for (int i = 0; i < GetChildCount(); ++i) {
        Info* param = GetChild(i);
        Info* type = param && param->GetChildCount() > 0 ? param->GetChild(0) : nullptr;
        if (!type)
            continue;
        if (!first)
            text += ", ";
        text += type->AsString();
        first = false;
    }
    return text;
}

bool ParamListInfo::SameParams(ParamListInfo& other)
{
    int count = GetChildCount();
    if (count != other.GetChildCount())
        return false;
    for (int i = 0; i < count; ++i) {
        VarDeclInfo* mine = dynamic_cast<VarDeclInfo*>(GetChild(i));
        VarDeclInfo* theirs = dynamic_cast<VarDeclInfo*>(other.GetChild(i));
        TypeInfo* a = mine ? mine->m_pType : nullptr;
        TypeInfo* b = theirs ? theirs->m_pType : nullptr;
        if (!a || !b || !a->SameType(*b))
            return false;
    }
    return true;
}

void ParamListInfo::AddChild(Name& name, TypeInfo& type)
{
    LocalVarInfo* param = new LocalVarInfo(&name);
    param->SetType(&type);
    Info::AddChild(param);
}

DbNode* ParamListInfo::CreateDbNode()
{
    DbNode* node = new DbNodeFuncParams;
    AddChildDbNodes(*node);
    return node;
}

// ---- FuncInfo

FuncInfo::FuncInfo(FuncNode& node, Name* name) : DeclInfo<FuncInfo>(name)
{
    Init();
    m_pNode = &node;
}

FuncInfo::FuncInfo(Name* name) : DeclInfo<FuncInfo>(name)
{
    Init();
}

void FuncInfo::Init()
{
    m_AopType = AOPInfo::AOP_NONE;
    m_pParams = nullptr;
    m_pNode = nullptr;
    m_pDef = nullptr;
    m_bDestructor = false;
    m_bConstructor = false;
    m_pRefined = nullptr;
    m_pRefining = nullptr;
    m_pModule = nullptr;
    // Always three positions: return type, parameter list, body.
    SetChild(0, nullptr);
    SetChild(1, nullptr);
    SetChild(2, &m_Body);
}

NodeFuncDecl* FuncInfo::GetDecl() const
{
    return m_pNode ? m_pNode->GetDecl() : nullptr;
}

bool FuncInfo::IsVirtual() const
{
    return m_pType && m_pType->m_bVirtual;
}

bool FuncInfo::IsStatic() const
{
    return m_pType && m_pType->m_bStatic;
}

bool FuncInfo::IsInline() const
{
    return m_pType && m_pType->m_bInline;
}

void FuncInfo::SetIsVirtual(bool value)
{
    if (m_pType)
        m_pType->m_bVirtual = value;
}

void FuncInfo::SetIsInline(bool value)
{
    if (m_pType)
        m_pType->m_bInline = value;
}

Str FuncInfo::GetStrName() const
{
    Name* name = m_pNode ? m_pNode->GetName() : m_pName;
    char const* plain = name && name->c_str() ? name->c_str() : "";
    Str text;
    // A destructor made from text may carry its '~' in the name already.
    if (m_bDestructor && plain[0] != '~')
        text = "~";
    text += plain;
    return text;
}

Str FuncInfo::GetSignature(bool withVirtual)
{
    Str text;
    SourceCodePrinter::GetCurrent().PrintSignature(*this, text);
    if (withVirtual)
        return text;
    RemoveWord(text, "virtual");
    text.Replace("  ", " ");
    char const* begin = text.GetBuffer();
    char const* end = begin + text.GetLength();
    while (begin < end && IsBlank(*begin))
        ++begin;
    while (end > begin && IsBlank(end[-1]))
        --end;
    Str trimmed;
    trimmed.SetData(begin, static_cast<size_t>(end - begin));
    return trimmed;
}

Str FuncInfo::GetReturnType()
{
    Info* type = GetChildCount() > 0 ? GetChild(0) : nullptr;
    return type ? type->AsString() : Str();
}

bool FuncInfo::SameParams(ParamListInfo& params)
{
    return m_pParams && m_pParams->SameParams(params);
}

void FuncInfo::SetParams(ParamListInfo* params)
{
    m_pParams = params;
    SetChild(1, params);
}

DbNode* FuncInfo::CreateDbNode()
{
    DbNode* node = new DbNodeFunc;
    node->m_Text = GetStrName();
    for (int i = 0; i < 2; ++i) {
        Info* child = GetChild(i);
        DbNode* fragment = child ? child->GetDbNode() : nullptr;
        node->AddChild(fragment);
    }
    return node;
}

// ---- variables

Str MemberVarInfo::AsString()
{
    Str text;
    SourceCodePrinter::GetCurrent().Print(*this, text);
    return text;
}

Str LocalVarInfo::AsString()
{
    Str text;
    SourceCodePrinter::GetCurrent().Print(*this, text);
    return text;
}

// ---- namespaces and classes

DbNode* NSInfo::CreateDbNode()
{
    DbNode* node = new DbNodeNamespace;
    node->m_Text = GetNameText();
    AddChildDbNodes(*node);
    return node;
}

DbNode* ClassInfo::CreateDbNode()
{
    DbNode* node = new DbNodeClass;
    node->m_Text = GetNameText();
    AddChildDbNodes(*node);
    return node;
}

Str ClassInfo::ChildsAsString()
{
    Str text;
    SourceCodePrinter::GetCurrent().PrintChilds(*this, text);
    return text;
}
