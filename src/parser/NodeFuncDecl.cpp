#include "parser/NodeFuncDecl.h"

#include "base/Name.h"
#include "parser/Info.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeFuncDef.h"
#include "parser/NodeFuncParams.h"
#include "parser/NodeID.h"
#include "parser/NodeModifier.h"
#include "parser/NodeType.h"
#include "scanner/Token.h"

#include <cstring>

namespace {

bool SameText(Name const* name, char const* text)
{
    return name && text && name->c_str() && strcmp(name->c_str(), text) == 0;
}

// True when the token before t, white space and comments passed over, has
// the text word.
bool WordBefore(Lex::Token* t, char const* word)
{
    Lex::Token* p = t->prev();
    while (p && (p->language == Lex::Token::white_id || p->language == Lex::Token::comment_id))
        p = p->prev();
    return p && strcmp(p->text->text, word) == 0;
}

} // namespace

NodeFuncDecl::NodeFuncDecl(InfoWithMembers& members, NodeType* type, NodeOperator* op, NodeID& id,
                           NodeFuncParams& params, NodeModifier* modifier)
    : FuncNode(NT_FUNC_DECL), m_pClass(nullptr), m_pDef(nullptr), m_pInfo(nullptr)
{
    m_pInfo = GetInfo(members, *this, id, params, op);
    SetChild(0, type);
    SetChild(1, op);
    SetChild(2, &id);
    SetChild(3, &params);
    SetChild(4, modifier);
    if (type)
        SetReturnTypeInfo(type->GetTypeInfo());
    m_pInfo->SetParams(&params.GetParamListInfo());
}

FuncInfo* NodeFuncDecl::GetInfo(InfoWithMembers& members, NodeFuncDecl& decl, NodeID& id, NodeFuncParams& params,
                                NodeOperator* op)
{
    AOPInfo::AopTypes aop = AOPInfo::AOP_NONE;
    if (id.HasModifier(Lex::TOK_POINTCUT))
        aop = AOPInfo::AOP_POINTCUT;
    else if (id.HasModifier(Lex::TOK_ADVICE))
        aop = AOPInfo::AOP_ADVICE;
    Str qualifiers = ReadQualifiers(params);
    FuncInfo* info = nullptr;
    if (Name* name = id.GetName())
        info = members.FindFuncInfo(*name, aop, &params.GetParamListInfo(), op != nullptr, qualifiers.GetBuffer());
    if (!info) {
        info = new FuncInfo(decl, id.GetName());
        info->m_Qualifiers = qualifiers;
    }
    info->m_AopType = aop;
    return info;
}

Str NodeFuncDecl::ReadQualifiers(NodeFuncParams& params)
{
    NodeRoundBrace* brace = params.GetBrace();
    Lex::Token* close = brace ? brace->GetLastToken() : nullptr;
    Str text;
    int depth = 0;
    for (Lex::Token* t = close ? close->next() : nullptr; t; t = t->next()) {
        if (t->language == Lex::Token::white_id || t->language == Lex::Token::comment_id)
            continue;
        int const type = t->type;
        if (type == Lex::TOK_OPEN_ROUND) {
            ++depth;
        } else if (type == Lex::TOK_CLOSE_ROUND) {
            if (--depth < 0)
                break;
        } else if (depth > 0) {
            continue;
        } else if (type == Lex::TOK_CONST || type == Lex::TOK_VOLATILE || type == Lex::TOK_AND
                   || type == Lex::TOK_AND_AND) {
            if (!text.IsEmpty())
                text += " ";
            text += t->text ? t->text->text : "";
        } else if (type == Lex::TOK_OPEN_CURLY || type == Lex::TOK_SEMI_COLON || type == Lex::TOK_COLON
                   || type == Lex::TOK_ASSIGN || type == Lex::TOK_PTS || type == Lex::TOK_CLOSE_CURLY
                   || type == Lex::TOK_COMMA) {
            break;
        }
    }
    return text;
}

Str NodeFuncDecl::AsString()
{
    Str text;
    if (NodeType* type = GetReturnType()) {
        text += type->AsString();
        text += " ";
    }
    if (GetOperator() && NameIsClassName())
        text += "~";
    if (NodeID* id = GetID())
        text += id->AsString();
    if (NodeFuncParams* params = GetParams())
        text += params->AsString();
    if (NodeModifier* modifier = GetModifier())
        text += modifier->AsString();
    return text;
}

Name* NodeFuncDecl::GetName() const
{
    NodeID* id = GetID();
    return id ? id->GetName() : nullptr;
}

Lex::Token* NodeFuncDecl::GetToken()
{
    if (NodeType* type = GetReturnType())
        if (Lex::Token* first = type->GetFirstToken())
            return first;
    NodeID* id = GetID();
    return id ? id->GetFirstToken() : nullptr;
}

NodeID* NodeFuncDecl::GetNameNode()
{
    return GetID();
}

QualName* NodeFuncDecl::GetQualName() const
{
    NodeID* id = GetID();
    return id ? id->GetQualName() : nullptr;
}

NodeType* NodeFuncDecl::GetReturnType() const
{
    return ChildAs<NodeType>(0, NT_TYPE);
}

NodeOperator* NodeFuncDecl::GetOperator() const
{
    return ChildAs<NodeOperator>(1, NT_OPERATOR);
}

NodeID* NodeFuncDecl::GetID() const
{
    return ChildAs<NodeID>(2, NT_ID);
}

NodeFuncParams* NodeFuncDecl::GetParams() const
{
    return ChildAs<NodeFuncParams>(3, NT_FUNC_PARAMS);
}

NodeModifier* NodeFuncDecl::GetModifier() const
{
    return ChildAs<NodeModifier>(4, NT_MODIFIER);
}

void NodeFuncDecl::SetReturnTypeInfo(TypeInfo& type)
{
    NodeFuncDecl* owner = m_pInfo->GetDecl();
    if (owner && owner != this)
        return;
    m_pInfo->SetType(&type);
}

void NodeFuncDecl::SetClass(NodeClassDef* cls)
{
    m_pClass = cls;
    m_pInfo->OnChange();
}

bool NodeFuncDecl::NameIsClassName() const
{
    Name* cls = m_pClass ? m_pClass->GetName() : nullptr;
    return cls && SameText(GetName(), cls->c_str());
}

bool NodeFuncDecl::IsSame(NodeFuncDecl& other)
{
    if (&other == this)
        return true;
    bool const pointcut = m_pInfo->m_AopType == AOPInfo::AOP_POINTCUT;
    bool const otherPointcut = other.m_pInfo->m_AopType == AOPInfo::AOP_POINTCUT;
    if (pointcut != otherPointcut)
        return false;
    if (GetQualName() != other.GetQualName())
        return false;
    bool const named = NameIsClassName();
    bool const otherNamed = other.NameIsClassName();
    bool const ctor = named && !ChildAt(1);
    bool const otherCtor = otherNamed && !other.ChildAt(1);
    bool const dtor = named && GetOperator();
    bool const otherDtor = otherNamed && other.GetOperator();
    if (ctor != otherCtor || dtor != otherDtor)
        return false;
    NodeFuncParams* params = GetParams();
    NodeFuncParams* otherParams = other.GetParams();
    if (!params || !otherParams)
        return false;
    if (!(m_pInfo->m_Qualifiers == other.m_pInfo->m_Qualifiers))
        return false;
    return params->GetParamListInfo().SameParams(otherParams->GetParamListInfo());
}

bool NodeFuncDecl::MatchesName(char const* text) const
{
    return SameText(GetName(), text);
}

bool NodeFuncDecl::MatchesQualName(char const* text) const
{
    QualName* name = GetQualName();
    return name && text && name->c_str() && strcmp(name->c_str(), text) == 0;
}

bool NodeFuncDecl::Rename(char const* text)
{
    NodeID* id = GetID();
    if (!id)
        return false;
    bool const renamed = id->Rename(text, true);
    m_pInfo->SetName(id->GetName());
    return renamed;
}

void NodeFuncDecl::SetIsInline()
{
    uint32_t const language = GetLanguage();
    if (language != LANG_UNKNOWN && language != LANG_CPP)
        return;
    NodeType* type = GetReturnType();
    if (!type)
        return;
    char const* word = m_bMsVc ? "__forceinline" : "inline";
    if (NodeModifier* inlined = type->GetModifier(Lex::TOK_INLINE)) {
        inlined->GetToken()->text = Lex::StrHashTable::insert(word);
    } else {
        Lex::Token* first = type->GetFirstToken();
        if (!first)
            return;
        // A second call finds its own word in front and adds no other.
        if (!WordBefore(first, word)) {
            first->AddTokenBefore(*new Lex::Token(Lex::TOK_STRING_VAL, Lex::Token::cpp_id, word));
            first->AddWhitespaceBefore();
        }
    }
    if (NodeModifier* virt = type->GetModifier(Lex::TOK_VIRTUAL))
        virt->GetToken()->delete_token();
    m_pInfo->SetIsInline(true);
    m_pInfo->SetIsVirtual(false);
}

Lex::Token* NodeFuncDecl::NameToken() const
{
    NodeID* id = GetID();
    Lex::Token* first = id ? id->GetFirstToken() : nullptr;
    return first && first->list() ? first : nullptr;
}

void NodeFuncDecl::SetReturnType(Str const& text)
{
    Lex::Token* name = NameToken();
    if (!name)
        return;
    Lex::Token* token = new Lex::Token(Lex::TOK_STRING_VAL, Lex::Token::cpp_id, text);
    NodeType* type = new NodeType(*new NodeToken(token));
    NodeType* former = GetReturnType();
    SetChild(0, type);

    Lex::Token* formerFirst = former ? former->GetFirstToken() : nullptr;
    if (formerFirst) {
        formerFirst->AddTokenAfter(*token);
        former->Delete();
        if (former->GetParent() == this)
            former->m_pParent = nullptr;
    } else {
        // A destructor's `~` stays next to the name.
        NodeOperator* op = GetOperator();
        Lex::Token* tilde = op ? op->GetToken() : nullptr;
        Lex::Token* before = name;
        // In a qualified name (C::~C) the `~` follows the name's first token.
        if (tilde && tilde->list() == name->list())
            for (Lex::Token* t = tilde; t; t = t->next())
                if (t == name) {
                    before = tilde;
                    break;
                }
        before->AddTokenBefore(*token);
        before->AddWhitespaceBefore();
    }
    SetReturnTypeInfo(type->GetTypeInfo());
    m_pInfo->OnChange();
}

void NodeFuncDecl::SetIsConstructor(bool is, Str const& type)
{
    SetReturnType(is ? Str() : type);
}

void NodeFuncDecl::SetIsDestructor(bool is, Str const& type)
{
    Lex::Token* name = NameToken();
    if (!name)
        return;
    SetReturnType(is ? Str() : type);
    if (is && !ChildAt(1)) {
        Lex::Token* tilde = new Lex::Token(Lex::TOK_TILDE, Lex::Token::cpp_id, "~");
        SetChild(1, new NodeOperator(tilde));
        name->AddTokenBefore(*tilde);
    } else if (!is) {
        NodeOperator* op = GetOperator();
        if (op && op->GetToken()) {
            op->DeleteToken();
            op->m_pParent = nullptr;
            SetChild(1, nullptr);
        }
    }
}

// ---- info members that read the function nodes

void FuncInfo::OnChange()
{
    NodeFuncDecl* decl = GetDecl();
    if (!decl)
        return;
    bool const named = decl->NameIsClassName();
    bool const tilde = decl->GetOperator() != nullptr;
    m_bConstructor = named && !tilde;
    m_bDestructor = named && tilde;
}

void InfoWithMembers::SyncIndex()
{
    unsigned const renames = Info::GetMemberRenameCount() + NodeID::GetRenameCount();
    if (m_IndexedCount > GetChildCount() || renames != m_IndexedRenames) {
        m_ByName.clear();
        m_ByQualName.clear();
        m_IndexedCount = 0;
        m_IndexedRenames = renames;
    }
    for (; m_IndexedCount < GetChildCount(); ++m_IndexedCount) {
        Info* child = GetChild(m_IndexedCount);
        if (!child)
            continue;
        m_ByName[child->GetName()].push_back(m_IndexedCount);
        FuncInfo* func = child->GetFuncInfo();
        FuncNode* node = func ? func->GetNode() : nullptr;
        if (node && node->IsDecl())
            m_ByQualName[node->GetDecl()->GetQualName()].push_back(m_IndexedCount);
    }
}

std::vector<int> const* InfoWithMembers::MembersNamed(void const* name, bool qualified)
{
    SyncIndex();
    auto& index = qualified ? m_ByQualName : m_ByName;
    auto it = index.find(name);
    return it == index.end() ? nullptr : &it->second;
}

void InfoWithMembers::SetFuncDef(NodeFuncDef& def)
{
    NodeFuncDecl* decl = def.GetDecl();
    if (!decl)
        return;
    // The same function has the same qualified name.
    std::vector<int> const* members = MembersNamed(decl->GetQualName(), true);
    if (!members)
        return;
    for (int i : *members) {
        Info* child = GetChild(i);
        FuncInfo* func = child ? child->GetFuncInfo() : nullptr;
        FuncNode* node = func ? func->GetNode() : nullptr;
        if (!node || !node->IsDecl())
            continue;
        NodeFuncDecl* candidate = node->GetDecl();
        if (candidate->IsSame(*decl)) {
            candidate->SetDef(&def);
            return;
        }
    }
}
