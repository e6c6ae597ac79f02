#include "output/BaseTransform.h"

#include "base/ErrorLog.h"
#include "compose/FOPModule.h"
#include "compose/Layer.h"
#include "compose/LayerStack.h"
#include "compose/TransformedModule.h"
#include "output/DecoratorTransform.h"
#include "output/ModuleOutput.h"
#include "output/ModuleTransform.h"
#include "output/TransformedFuncs.h"
#include "parser/ClassDB.h"
#include "parser/FuncBodyParser.h"
#include "parser/Info.h"
#include "parser/InfoBuilder.h"
#include "parser/NodeBaseClass.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDecl.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeFuncDef.h"
#include "parser/NodeFuncParams.h"
#include "parser/NodeID.h"
#include "parser/NodeInitDecl.h"
#include "parser/NodeKeyword.h"
#include "parser/SimpleTU.h"
#include "scanner/Token.h"

#include <cctype>
#include <cstring>

namespace {

char const* Text(Lex::Token const& token) { return token.text ? token.text->text : ""; }

bool TextIs(Lex::Token const& token, char const* text) { return std::strcmp(Text(token), text) == 0; }

// The inserted text is written only while the flag is set.
void SetCondition(Lex::Token& token, bool const& flag) { token.condition = reinterpret_cast<char const*>(&flag); }
// The token keeps the flag's address: a temporary would be gone when it is read.
void SetCondition(Lex::Token& token, bool&& flag) = delete;

} // namespace

BaseTransform::BaseTransform(FOPModule& module)
    : m_bReportInstantiations(false), m_bReportMemberUses(false), m_pClassDB(nullptr), m_pLayer(module.GetLayer()),
      m_pModule(&module), m_pTransformedModule(module.GetTransformedClass()), m_pRefinedModule(nullptr),
      m_pTransformedFuncs(&ModuleOutput::Of(module).GetTransformedFuncs()), m_ClassName("invalid"), m_pFunc(nullptr),
      m_pRefinedFunc(nullptr), m_pRefiningFunc(nullptr), m_bIsConstructor(false), m_bIsDestructor(false)
{
    // A module may hold thousands of functions.
    m_HandledFuncs.SetIndexed();
    if (SimpleTU* unit = module.GetParseUnit())
        m_pClassDB = unit->db();
    if (m_pTransformedModule)
        m_pRefinedModule = module.GetRefinedModule();
}

BaseTransform::~BaseTransform() {}

void BaseTransform::Init()
{
    FuncBodyParser::AddMetaVar("SplType");
    m_bReportInstantiations = true;
    m_bReportMemberUses = true;
    m_ClassName = GetTransformedClassName();
}

bool BaseTransform::Transform()
{
    DeleteRefines();
    RenameClass();
    TransformDefinitions();
    TransformDeclarations();
    TransformFields();
    ModuleTransform* unit = ModuleTransform::Of(*m_pModule);
    if (unit && unit->GetLastTransformationModule() == m_pModule)
        TransformLastModule();
    return true;
}

bool BaseTransform::DeleteRefines()
{
    if (!m_pModule->IsRefinement())
        return true;
    NodeClassDecl* decl = m_pModule->GetMainClass()->GetClassDecl();
    if (!decl)
        return true;
    Lex::Token* first = decl->GetFirstToken();
    if (first && first->type == Lex::TOK_REFINES) {
        decl->DelFirstToken();
        return true;
    }
    NodeKeyword* key = decl->GetKey();
    if (key && key->m_pRefines && key->m_pRefines->GetToken())
        key->m_pRefines->DeleteToken();
    return true;
}

bool BaseTransform::RenameClass()
{
    NodeClassDef* cls = m_pModule->GetMainClass();
    if (!cls || m_ClassName == m_pModule->GetName())
        return true;
    NodeClassDecl* decl = cls->GetClassDecl();
    NodeID* id = decl ? decl->GetID() : nullptr;
    return id ? id->Rename(m_ClassName, true) : true;
}

void BaseTransform::OnBeginTransform(FuncInfo& f)
{
    m_pFunc = &f;
    m_bIsConstructor = f.IsConstructor();
    m_bIsDestructor = f.IsDestructor();
    m_pRefinedFunc = f.m_pRefined;
    m_pRefiningFunc = f.m_pRefining;
    m_SuperName = m_pRefinedFunc ? m_pRefinedFunc->GetStrName() : Str();
}

bool BaseTransform::TransformDefinitions()
{
    if (!m_pClassDB)
        return true;
    for (int i = 0; i < m_pClassDB->m_FuncDefs.GetCount(); ++i) {
        NodeFuncDef* def = m_pClassDB->m_FuncDefs[i];
        NodeFuncDecl* decl = def ? def->GetDecl() : nullptr;
        FuncInfo* f = decl ? decl->GetInfo() : nullptr;
        if (!f)
            continue;
        OnBeginTransform(*f);
        if (!TransformFuncDefinition(*def))
            return false;
        if (m_bIsConstructor && !TransformCtorInitializer(*def))
            return false;
        if (m_bIsConstructor)
            StoreSplParameter(*def);
    }
    return true;
}

bool BaseTransform::TransformFuncDefinition(NodeFuncDef& def)
{
    if (!def.GetBody())
        return false;
    if (m_pRefinedFunc) {
        if (m_bIsConstructor)
            AddCtorFuncCall(def);
        else if (m_bIsDestructor)
            AddDtorFuncCall(def);
    }
    return ParseBody(def);
}

bool BaseTransform::ParseBody(NodeFuncDef& def)
{
    if (!CanParseFuncBody(def))
        return true;
    FuncBodyParser parser(def, *this);
    parser.m_bReportInstantiations = m_bReportInstantiations;
    parser.m_bReportMemberUses = m_bReportMemberUses;
    parser.m_pModule = m_pTransformedModule;
    return parser.Parse();
}

// Static member definitions outside the class keep their qualification:
// the class name of a module's class is its module name here.
bool BaseTransform::TransformFields() { return true; }

bool BaseTransform::TransformDeclarations()
{
    if (!m_pClassDB)
        return true;
    for (int i = 0; i < m_pClassDB->m_FuncDecls.GetCount(); ++i) {
        NodeFuncDecl* decl = m_pClassDB->m_FuncDecls[i];
        FuncInfo* f = decl ? decl->GetInfo() : nullptr;
        if (!f || m_HandledFuncs.Contains(f))
            continue;
        OnBeginTransform(*f);
        if (!TransformFuncDecl(*decl))
            return false;
    }
    return true;
}

bool BaseTransform::TransformFuncDecl(FuncNode& node)
{
    bool result = FOP_Transform_TransformFuncDecl(node);
    NodeFuncDecl* decl = node.GetDecl();
    FuncInfo* f = decl ? decl->GetInfo() : nullptr;
    if (!f || f->m_AopType != AOPInfo::AOP_POINTCUT || m_SuperName.IsEmpty())
        return result;
    NodeID* name = decl->GetNameNode();
    Lex::Token* first = name ? name->GetLastToken() : nullptr;
    Lex::Token* semicolon = nullptr;
    for (Lex::Token* t = first ? first->next() : nullptr; t; t = t->next())
        if (TextIs(*t, ";")) {
            semicolon = t;
            break;
        }
    if (!first || !semicolon)
        return result;
    FuncBodyParser parser(node, first, semicolon, *this);
    return parser.Parse();
}

bool BaseTransform::IsOtherClassMember(NodeFuncDecl& decl) const
{
    NodeClassDef* cls = decl.GetClass();
    NodeClassDef* main = m_pModule->GetMainClass();
    return cls && main && cls != main;
}

bool BaseTransform::FOP_Transform_TransformFuncDecl(FuncNode& node)
{
    NodeFuncDecl* decl = node.GetDecl();
    FuncInfo* f = decl ? decl->GetInfo() : nullptr;
    if (!f || IsOtherClassMember(*decl))
        return true;
    Str oldKey = TransformedFuncs::GetFuncName(*f);
    if (m_pTransformedFuncs->HasTransformed(oldKey))
        return true;
    NodeFuncDecl* d1 = f->GetDecl();
    NodeFuncDef* def = f->GetDef();
    NodeFuncDecl* d2 = def ? def->GetDecl() : nullptr;
    if (d2 == d1)
        d2 = nullptr;
    Str newName = GetTransformedFuncName(*f);
    if (!newName.IsEmpty()) {
        if (d1)
            d1->Rename(newName);
        if (d2)
            d2->Rename(newName);
    }
    if (d1) {
        m_HandledFuncs.Add(f);
        Str newKey = TransformedFuncs::GetFuncName(*f);
        m_pTransformedFuncs->Add(oldKey, newKey, *d1);
        TransformFuncDeclStmt_Int(false, *d1);
    }
    if (d2)
        TransformFuncDeclStmt_Int(true, *d2);
    return true;
}

bool BaseTransform::TransformFuncDeclStmt_Int(bool isDefinitionDecl, NodeFuncDecl& decl)
{
    return TransformFuncDeclStmt(isDefinitionDecl, decl);
}

bool BaseTransform::TransformFuncDeclStmt(bool, NodeFuncDecl& decl)
{
    FuncInfo* f = decl.GetInfo();
    if (f && f->IsConstructor())
        return TransformCtorDeclStmt(decl);
    return true;
}

// The product-line parameters are put into every constructor; they are
// written only when the class turns out to need the product-line pointer.
bool BaseTransform::TransformCtorDeclStmt(NodeFuncDecl& decl) { return AddCtorDelegationArguments(decl); }

bool BaseTransform::AddCtorDelegationArguments(NodeFuncDecl& decl)
{
    NodeFuncParams* params = decl.GetParams();
    NodeRoundBrace* brace = params ? params->GetBrace() : nullptr;
    Lex::Token* open = brace ? brace->GetFirstToken() : nullptr;
    if (!open)
        return false;
    bool single = !m_pTransformedModule || m_pTransformedModule->IsSingleBindingUnit();
    // A body need not use them: no warning about unused parameters.
    Str text;
    if (!single) {
        text = "[[maybe_unused]] ";
        text += m_pModule->GetName();
        text += "* pFinal, ";
    }
    text += "[[maybe_unused]] ";
    text += GetLayerInterfaceName();
    text += "& spl";
    if (params->GetParamCount() > 0 && HasParams(*params))
        text += ", ";
    bool ownParams = params->GetParamCount() > 0 && HasParams(*params);
    Lex::Token* token = NewTextToken(text);
    open->AddTokenAfter(*token);
    if (single && m_pTransformedModule)
        SetCondition(*token, m_pTransformedModule->GetSplPtrNeededFlag());
    // A defaulted default constructor cannot take the parameters: it gets
    // an empty body, which does what the default one did.
    Lex::Token* assign = single || ownParams ? nullptr : DefaultedOrDeleted(decl);
    Lex::Token* word = assign ? NextNonWhite(assign) : nullptr;
    if (word && word->type == Lex::TOK_DEFAULT) {
        assign->text = Lex::StrHashTable::insert("{}");
        assign->SetType(Lex::TOK_STRING_VAL);
        word->text = Lex::StrHashTable::insert("");
        word->SetType(Lex::TOK_STRING_VAL);
    }
    return true;
}

void BaseTransform::StoreSplParameter(NodeFuncDef& def)
{
    if (!m_pTransformedModule || !m_pTransformedModule->IsPureJampack() || m_pRefiningFunc)
        return;
    NodeBlock* body = def.GetBody();
    Lex::Token* open = body ? body->GetFirstToken() : nullptr;
    if (!open || open->type != Lex::TOK_OPEN_CURLY)
        return;
    // Before the lower layers' bodies, which may use the product line.
    Lex::Token* token = NewTextToken(" __SPL_PTR = &spl;");
    open->AddTokenAfter(*token);
    SetCondition(*token, m_pTransformedModule->GetSplPtrNeededFlag());
}

bool BaseTransform::TransformCtorInitializer(NodeFuncDef& def)
{
    if (!m_bIsConstructor || !m_pClassDB)
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
                MemberVarInfo* field = m_pClassDB->GetField(Text(*prev));
                TypeInfo* type = field ? field->m_pType : nullptr;
                // Only a member object is constructed with the product line;
                // a pointer or reference is initialised with a value.
                if (type && type->m_Indirection != TypeInfo::BY_VALUE)
                    type = nullptr;
                Name* typeName = type ? type->GetName() : nullptr;
                TransformedModule* member = typeName ? GetModule(typeName->c_str()) : nullptr;
                if (member) {
                    Str text("spl");
                    Lex::Token* next = BaseTransform::NextNonWhite(t);
                    if (next && next->type != Lex::TOK_CLOSE_ROUND)
                        text += ", ";
                    Lex::Token* token = NewTextToken(text);
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

bool BaseTransform::TransformLastModule()
{
    if (!m_pTransformedModule || m_pTransformedModule->IsSingleBindingUnit())
        return true;
    ModuleTransform* unit = ModuleTransform::Of(*m_pModule);
    FOPModule* firstOfUnit = unit ? unit->GetFirstTransformationModule() : nullptr;
    for (FOPModule* module = m_pModule; module; module = module->GetRefinedModule()) {
        SimpleTU* tu = module->GetParseUnit();
        if (tu && HasConstructor(*tu->db(), m_ClassName))
            return true;
        if (module == firstOfUnit)
            break;
    }
    AddDefaultCtor();
    return true;
}

void BaseTransform::AddDefaultCtor()
{
    NodeClassDef* cls = m_pModule->GetMainClass();
    if (!cls)
        return;
    ClassInfoBuilder builder(cls->GetClassInfo());
    FuncInfoBuilder ctor(builder, nullptr, m_ClassName);
    ctor.SetAccessType(ACCESS_PUBLIC);
    ctor.SetInline();
    Str finalType = "[[maybe_unused]] " + m_pModule->GetName();
    finalType += "*";
    Str splType = "[[maybe_unused]] " + GetLayerInterfaceName();
    splType += "&";
    ctor.AddArg(finalType, "pFinal");
    ctor.AddArg(splType, "spl");
    ctor.SetBody("");
    ctor.Write();
}

bool BaseTransform::RemoveBaseClasses()
{
    NodeClassDef* cls = m_pModule->GetMainClass();
    NodeBaseClassDecl* bases = cls ? cls->GetBaseClassDecl() : nullptr;
    if (!bases)
        return true;
    Array<NodeBaseClass*> removed;
    for (int i = 0; NodeBaseClass* base = bases->GetBase(i); ++i)
        if (RemoveBase(*base))
            removed.Add(base);
    for (int i = 0; i < removed.GetCount(); ++i)
        bases->DeleteBase(*removed[i]);
    return true;
}

bool BaseTransform::RemoveBase(NodeBaseClass&) { return false; }

bool BaseTransform::CanParseFuncBody(FuncNode&) { return true; }

// Body events.

void BaseTransform::OnTokThis(Lex::Token&, bool) {}

void BaseTransform::OnMemberAccess(Lex::Token*, Lex::Token&, bool) {}

bool BaseTransform::OnMetaVar(Lex::Token& token)
{
    if (!TextIs(token, "SplType"))
        return false;
    token.text = Lex::StrHashTable::insert(GetLayerInterfaceName().GetBuffer());
    return true;
}

void BaseTransform::OnClassInstantiation(Lex::Token& newToken, Lex::Token& classToken)
{
    if (TransformedModule* target = GetModule(Text(classToken)))
        OnModuleInstantiation(*target, newToken, classToken);
}

bool BaseTransform::OnModuleInstantiation(TransformedModule& target, Lex::Token& newToken, Lex::Token& classToken)
{
    LayerStack* stack = m_pLayer ? m_pLayer->m_pStack : nullptr;
    if (!stack || !stack->m_bHasDynamicLayer)
        return false;
    bool ownMixed = !m_pTransformedModule || !m_pTransformedModule->IsSingleBindingUnit();
    if (ownMixed && !target.IsSingleBindingUnit())
        return false;
    if (m_pTransformedModule)
        m_pTransformedModule->StoreClassAccess(&target);
    if (target.HasDynamicDelegation())
        CreateFactoryMethodInvocation(newToken, classToken);
    else
        CreateSetSplPtrCall(target, newToken, classToken);
    return false;
}

void BaseTransform::CreateFactoryMethodInvocation(Lex::Token& newToken, Lex::Token& classToken)
{
    DecoratorTransform::CreateFactoryMethodInvocation(newToken, classToken);
}

void BaseTransform::CreateSetSplPtrCall(TransformedModule& target, Lex::Token& newToken, Lex::Token& classToken)
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
    char const* arg = m_bIsConstructor ? "spl" : "GetSPL()";
    Lex::Token* paren = new Lex::Token(Lex::TOK_OPEN_ROUND, Lex::Token::cpp_id, "(");
    newToken.AddTokenBefore(*paren);
    Str call(")->SetSplPtr(");
    call += arg;
    call += ")";
    Lex::Token* tail = NewTextToken(call);
    insertAt->AddTokenBefore(*tail);
    SetCondition(*paren, target.GetSplPtrNeededFlag());
    SetCondition(*tail, target.GetSplPtrNeededFlag());
    if (open) {
        Str text(arg);
        if (hasArgs)
            text += ", ";
        Lex::Token* argument = NewTextToken(text);
        open->AddTokenAfter(*argument);
        SetCondition(*argument, target.GetSplPtrNeededFlag());
    }
}

void BaseTransform::OnStaticMemberAccess(Lex::Token& classToken, Lex::Token&, Lex::Token& next)
{
    TransformedModule* target = GetModule(Text(classToken));
    if (!target || target->IsSingleBindingUnit() || next.type != Lex::TOK_OPEN_ROUND)
        return;
    Str text(m_bIsConstructor ? "spl" : "GetSPL()");
    Lex::Token* follower = BaseTransform::NextNonWhite(&next);
    if (follower && follower->type != Lex::TOK_CLOSE_ROUND)
        text += ", ";
    next.AddTokenAfter(*NewTextToken(text));
    if (m_pTransformedModule)
        m_pTransformedModule->StoreClassAccess(target);
}

void BaseTransform::OnSuperQualifier(Lex::Token& superToken, Lex::Token& separator)
{
    DeleteToken(superToken);
    DeleteToken(separator);
}

void BaseTransform::OnUnresolvedSuperCall(Lex::Token& superToken)
{
    if (!m_pModule->IsUsedAsMixin())
        ErrorLog::OnWarning("invalid call to super - base class not found", superToken);
    else if (m_pTransformedModule)
        m_pTransformedModule->SetHasError(true);
}

// Helpers.

TransformedModule* BaseTransform::GetModule(char const* name)
{
    LayerStack* stack = m_pLayer ? m_pLayer->m_pStack : nullptr;
    return stack && name ? stack->GetModule(name) : nullptr;
}

Str BaseTransform::GetTransformedLayerName(char const* layerName)
{
    // Every character that cannot stand in an identifier ("/" and "." of
    // layer paths, but also "-" or blanks of folder names) becomes "_".
    Str name(layerName ? layerName : "");
    Str result;
    for (size_t i = 0; i < name.GetLength(); ++i) {
        unsigned char c = static_cast<unsigned char>(name.GetBuffer()[i]);
        result += (std::isalnum(c) || c == '_') ? static_cast<char>(c) : '_';
    }
    return result;
}

// The product-line interface carries the name of the product line (the
// equation's name).
Str BaseTransform::GetLayerInterfaceName()
{
    LayerStack* stack = m_pLayer ? m_pLayer->m_pStack : nullptr;
    return stack ? stack->m_ProductLineName : Str();
}

