#include "output/SplArguments.h"

#include "compose/FOPModule.h"
#include "compose/TransformedModule.h"
#include "output/BaseTransform.h"
#include "output/ModuleTransform.h"
#include "parser/ClassDB.h"
#include "parser/Info.h"
#include "parser/InfoBuilder.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeFuncDef.h"
#include "parser/NodeFuncParams.h"
#include "parser/NodeInitDecl.h"
#include "parser/SimpleTU.h"
#include "scanner/Token.h"

namespace {

char const* Text(Lex::Token const& token) { return token.text ? token.text->text : ""; }

// The inserted text is written only while the flag is set.
void SetCondition(Lex::Token& token, bool const& flag) { token.condition = reinterpret_cast<char const*>(&flag); }
// The token keeps the flag's address: a temporary would be gone when it is read.
void SetCondition(Lex::Token& token, bool&& flag) = delete;

} // namespace

SplArguments::SplArguments(BaseTransform& transform)
    : m_pTransform(&transform), m_pModule(transform.m_pModule), m_pClass(transform.m_pTransformedModule)
{
}

bool SplArguments::AddCtorDelegationArguments(NodeFuncDecl& decl)
{
    NodeFuncParams* params = decl.GetParams();
    NodeRoundBrace* brace = params ? params->GetBrace() : nullptr;
    Lex::Token* open = brace ? brace->GetFirstToken() : nullptr;
    if (!open)
        return false;
    bool single = !m_pClass || m_pClass->IsSingleBindingUnit();
    // A body need not use them: no warning about unused parameters.
    Str text;
    if (!single) {
        text = "[[maybe_unused]] ";
        text += m_pModule->GetName();
        text += "* pFinal, ";
    }
    text += "[[maybe_unused]] ";
    text += m_pTransform->GetLayerInterfaceName();
    text += "& spl";
    if (params->GetParamCount() > 0 && BaseTransform::HasParams(*params))
        text += ", ";
    bool ownParams = params->GetParamCount() > 0 && BaseTransform::HasParams(*params);
    Lex::Token* token = BaseTransform::NewTextToken(text);
    open->AddTokenAfter(*token);
    if (single && m_pClass)
        SetCondition(*token, m_pClass->GetSplPtrNeededFlag());
    // A defaulted default constructor cannot take the parameters: it gets
    // an empty body, which does what the default one did.
    Lex::Token* assign = single || ownParams ? nullptr : BaseTransform::DefaultedOrDeleted(decl);
    Lex::Token* word = assign ? BaseTransform::NextNonWhite(assign) : nullptr;
    if (word && word->type == Lex::TOK_DEFAULT) {
        assign->text = Lex::StrHashTable::insert("{}");
        assign->SetType(Lex::TOK_STRING_VAL);
        word->text = Lex::StrHashTable::insert("");
        word->SetType(Lex::TOK_STRING_VAL);
    }
    return true;
}

void SplArguments::StoreSplParameter(NodeFuncDef& def)
{
    if (!m_pClass || !m_pClass->IsPureJampack() || m_pTransform->m_pRefiningFunc)
        return;
    NodeBlock* body = def.GetBody();
    Lex::Token* open = body ? body->GetFirstToken() : nullptr;
    if (!open || open->type != Lex::TOK_OPEN_CURLY)
        return;
    // Before the lower layers' bodies, which may use the product line.
    Lex::Token* token = BaseTransform::NewTextToken(" __SPL_PTR = &spl;");
    open->AddTokenAfter(*token);
    SetCondition(*token, m_pClass->GetSplPtrNeededFlag());
}

bool SplArguments::TransformCtorInitializer(NodeFuncDef& def)
{
    if (!m_pTransform->m_bIsConstructor || !m_pTransform->m_pClassDB)
        return true;
    NodeInitDecl* init = def.GetInitDecl();
    Lex::Token* first = init ? init->GetFirstToken() : nullptr;
    Lex::Token* last = init ? init->GetLastToken() : nullptr;
    if (!first)
        return true;
    Lex::Token* prev = nullptr;
    Lex::Token* prevPrev = nullptr;
    for (Lex::Token* t = first; t; t = t->next()) {
        if (!BaseTransform::IsSkipped(*t)) {
            if (t->type == Lex::TOK_OPEN_ROUND && prev && prev->type == Lex::TOK_ID && prevPrev &&
                (prevPrev->type == Lex::TOK_COMMA || prevPrev->type == Lex::TOK_COLON)) {
                MemberVarInfo* field = m_pTransform->m_pClassDB->GetField(Text(*prev));
                TypeInfo* type = field ? field->m_pType : nullptr;
                // Only a member object is constructed with the product line;
                // a pointer or reference is initialised with a value.
                if (type && type->m_Indirection != TypeInfo::BY_VALUE)
                    type = nullptr;
                Name* typeName = type ? type->GetName() : nullptr;
                TransformedModule* member = typeName ? m_pTransform->GetModule(typeName->c_str()) : nullptr;
                if (member) {
                    Str text("spl");
                    Lex::Token* next = BaseTransform::NextNonWhite(t);
                    if (next && next->type != Lex::TOK_CLOSE_ROUND)
                        text += ", ";
                    Lex::Token* token = BaseTransform::NewTextToken(text);
                    t->AddTokenAfter(*token);
                    if (member->IsSingleBindingUnit())
                        SetCondition(*token, member->GetSplPtrNeededFlag());
                    if (t == last)
                        last = token;
                    t = token;
                }
            }
            prevPrev = prev;
            prev = t;
        }
        if (t == last)
            break;
    }
    return true;
}

namespace {

// A declared constructor of that class; a destructor bears the same name.
bool HasConstructor(ClassDB const& db, Str const& name)
{
    for (int i = 0; i < db.m_FuncDecls.GetCount(); ++i) {
        NodeFuncDecl* decl = db.m_FuncDecls[i];
        FuncInfo* info = decl->GetInfo();
        if (decl->MatchesName(name.GetBuffer()) && !(info && info->IsDestructor()))
            return true;
    }
    return false;
}

} // namespace

bool SplArguments::TransformLastModule()
{
    if (!m_pClass || m_pClass->IsSingleBindingUnit())
        return true;
    ModuleTransform* unit = ModuleTransform::Of(*m_pModule);
    FOPModule* firstOfUnit = unit ? unit->GetFirstTransformationModule() : nullptr;
    for (FOPModule* module = m_pModule; module; module = module->GetRefinedModule()) {
        SimpleTU* tu = module->GetParseUnit();
        if (tu && HasConstructor(*tu->db(), m_pTransform->m_ClassName))
            return true;
        if (module == firstOfUnit)
            break;
    }
    AddDefaultCtor();
    return true;
}

void SplArguments::AddDefaultCtor()
{
    NodeClassDef* cls = m_pModule->GetMainClass();
    if (!cls)
        return;
    ClassInfoBuilder builder(cls->GetClassInfo());
    FuncInfoBuilder ctor(builder, nullptr, m_pTransform->m_ClassName);
    ctor.SetAccessType(ACCESS_PUBLIC);
    ctor.SetInline();
    Str finalType = "[[maybe_unused]] " + m_pModule->GetName();
    finalType += "*";
    Str splType = "[[maybe_unused]] " + m_pTransform->GetLayerInterfaceName();
    splType += "&";
    ctor.AddArg(finalType, "pFinal");
    ctor.AddArg(splType, "spl");
    ctor.SetBody("");
    ctor.Write();
}

void SplArguments::CreateSetSplPtrCall(TransformedModule& target, Lex::Token& newToken, Lex::Token& classToken)
{
    Lex::Token* g = BaseTransform::NextNonWhite(&classToken);
    if (!g)
        return;
    Lex::Token* insertAt = nullptr;
    Lex::Token* open = nullptr;
    bool hasArgs = false;
    if (g->type == Lex::TOK_OPEN_ROUND) {
        open = g;
        Lex::Token* follower = BaseTransform::NextNonWhite(g);
        Lex::Token* close = nullptr;
        if (follower && follower->type == Lex::TOK_CLOSE_ROUND) {
            close = follower;
        } else {
            int depth = 1;
            for (Lex::Token* t = g->next(); t; t = t->next()) {
                if (t->type == Lex::TOK_OPEN_ROUND)
                    ++depth;
                else if (t->type == Lex::TOK_CLOSE_ROUND && --depth == 0) {
                    close = t;
                    break;
                }
            }
            hasArgs = true;
        }
        if (!close)
            return;
        insertAt = close->next();
    } else if (g->type == Lex::TOK_OPEN_SQUARE) {
        // An array of objects has no single object to hand the pointer to.
        return;
    } else {
        insertAt = g;
    }
    if (!insertAt)
        return;
    char const* arg = m_pTransform->m_bIsConstructor ? "spl" : "GetSPL()";
    Lex::Token* paren = new Lex::Token(Lex::TOK_OPEN_ROUND, Lex::Token::cpp_id, "(");
    newToken.AddTokenBefore(*paren);
    Str call(")->SetSplPtr(");
    call += arg;
    call += ")";
    Lex::Token* tail = BaseTransform::NewTextToken(call);
    insertAt->AddTokenBefore(*tail);
    SetCondition(*paren, target.GetSplPtrNeededFlag());
    SetCondition(*tail, target.GetSplPtrNeededFlag());
    if (open) {
        Str text(arg);
        if (hasArgs)
            text += ", ";
        Lex::Token* argument = BaseTransform::NewTextToken(text);
        open->AddTokenAfter(*argument);
        SetCondition(*argument, target.GetSplPtrNeededFlag());
    }
}

void SplArguments::OnStaticMemberAccess(Lex::Token& classToken, Lex::Token& next)
{
    TransformedModule* target = m_pTransform->GetModule(Text(classToken));
    if (!target || target->IsSingleBindingUnit() || next.type != Lex::TOK_OPEN_ROUND)
        return;
    Str text(m_pTransform->m_bIsConstructor ? "spl" : "GetSPL()");
    Lex::Token* follower = BaseTransform::NextNonWhite(&next);
    if (follower && follower->type != Lex::TOK_CLOSE_ROUND)
        text += ", ";
    next.AddTokenAfter(*BaseTransform::NewTextToken(text));
    if (m_pClass)
        m_pClass->StoreClassAccess(target);
}
