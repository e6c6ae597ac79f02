#include "output/BaseTransform.h"

#include "base/ErrorLog.h"
#include "compose/FOPModule.h"
#include "compose/GeneratedNames.h"
#include "compose/Layer.h"
#include "compose/LayerStack.h"
#include "compose/Module.h"
#include "compose/RefinementHead.h"
#include "compose/TransformedModule.h"
#include "output/DecoratorTransform.h"
#include "output/FuncHeadTokens.h"
#include "output/LowerVersions.h"
#include "output/ModuleOutput.h"
#include "output/ModuleTransform.h"
#include "output/SplArguments.h"
#include "output/TransformedFuncs.h"
#include "parser/ClassDB.h"
#include "parser/FuncBodyParser.h"
#include "parser/Info.h"
#include "parser/NodeBaseClass.h"
#include "parser/NodeClassDecl.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeFuncDef.h"
#include "parser/NodeBrace.h"
#include "parser/NodeInitDecl.h"
#include "parser/NodeID.h"
#include "parser/NodeKeyword.h"
#include "parser/SimpleTU.h"
#include "scanner/Token.h"

#include <cctype>
#include <cstring>

namespace {

char const* Text(Lex::Token const& token) { return token.text ? token.text->text : ""; }

bool TextIs(Lex::Token const& token, char const* text) { return std::strcmp(Text(token), text) == 0; }

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
    } else if (m_bIsConstructor) {
        CheckNewConstructor(def);
    }
    return ParseBody(def);
}

namespace {

// Whether text holds word as a whole word.
bool NamesWord(Str const& text, Str const& word)
{
    auto isWordChar = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    char const* begin = text.GetBuffer();
    size_t length = word.GetLength();
    for (char const* at = strstr(begin, word.GetBuffer()); at && length; at = strstr(at + 1, word.GetBuffer()))
        if ((at == begin || !isWordChar(at[-1])) && !isWordChar(at[length]))
            return true;
    return false;
}

} // namespace

void BaseTransform::CheckNewConstructor(NodeFuncDef& def)
{
    if (!m_pRefinedModule || !m_pFunc || m_pModule->IsMixin() || !m_pModule->IsRefinement())
        return;
    Str name = m_pModule->GetName();
    // A copy or move constructor and one that delegates to another
    // constructor of the class run for the callers they are meant for.
    if (m_pFunc->m_pParams && m_pFunc->m_pParams->GetChildCount() == 1 &&
        NamesWord(m_pFunc->m_pParams->TypesAsString(), name))
        return;
    NodeBlock* body = def.GetBody();
    Lex::Token* first = nullptr;
    if (NodeInitDecl* init = def.GetInitDecl())
        first = NextNonWhite(init->GetFirstToken());
    else if (body && body->GetFirstToken())
        first = NextNonWhite(body->GetFirstToken());
    if (first && first->text && (first->type == Lex::TOK_THIS || name == first->text->text))
        return;
    Str lower = LowerVersions::List(*m_pModule, name);
    if (lower.IsEmpty())
        return;
    NodeFuncDecl* decl = def.GetDecl();
    Lex::Token* at = decl ? FuncHeadTokens::NameToken(*decl) : nullptr;
    Str text;
    text.Format("constructor %s refines no lower constructor, since none has its parameter types; the layers below "
                "have %s: the callers of those would not run this body; give it the parameter types of the "
                "constructor it refines",
                TransformedFuncs::GetFuncName(*m_pFunc).GetBuffer(), lower.GetBuffer());
    if (at)
        ErrorLog::OnError(text, *at);
    else
        m_pModule->PrintError(text, 0);
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

// How the code is handed the product-line object: see SplArguments.
bool BaseTransform::AddCtorDelegationArguments(NodeFuncDecl& decl)
{
    return SplArguments(*this).AddCtorDelegationArguments(decl);
}

void BaseTransform::StoreSplParameter(NodeFuncDef& def) { SplArguments(*this).StoreSplParameter(def); }

bool BaseTransform::TransformCtorInitializer(NodeFuncDef& def)
{
    return SplArguments(*this).TransformCtorInitializer(def);
}

bool BaseTransform::TransformLastModule() { return SplArguments(*this).TransformLastModule(); }

void BaseTransform::AddDefaultCtor() { SplArguments(*this).AddDefaultCtor(); }

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
    SplArguments(*this).CreateSetSplPtrCall(target, newToken, classToken);
}

void BaseTransform::OnStaticMemberAccess(Lex::Token& classToken, Lex::Token&, Lex::Token& next)
{
    SplArguments(*this).OnStaticMemberAccess(classToken, next);
}

void BaseTransform::OnSuperQualifier(Lex::Token& superToken, Lex::Token& separator)
{
    DeleteToken(superToken);
    DeleteToken(separator);
}

void BaseTransform::OnUnresolvedSuperCall(Lex::Token& superToken)
{
    // A class used as a mixin may call what only its users provide: it is
    // not written on its own.
    if (m_pModule->IsUsedAsMixin()) {
        if (m_pTransformedModule)
            m_pTransformedModule->SetHasError(true);
        return;
    }
    Lex::Token* separator = NextNonWhite(&superToken);
    Lex::Token* name = separator ? NextNonWhite(separator) : nullptr;
    Str call = separator && name ? CallText(*separator, *name) : Str("super");
    Str own = m_pFunc ? m_pFunc->GetStrName() : Str();
    Str key = m_pFunc ? TransformedFuncs::GetFuncName(*m_pFunc) : own;
    Str text;
    text.Format("invalid call to super - base class not found: %s in %s calls no lower version, since no layer below "
                "has a method %s and class %s has no base class; call a method of this class instead, or write %s "
                "in a lower layer first",
                call.GetBuffer(), key.GetBuffer(), own.GetBuffer(), m_pModule->GetName().GetBuffer(),
                own.GetBuffer());
    ErrorLog::OnError(text, superToken);
}

bool BaseTransform::IsJavaLike() const
{
    int type = m_pModule->GetFileType();
    return type == Module::FT_CS || type == Module::FT_JAK || type == Module::FT_JAVA;
}

Str BaseTransform::CallText(Lex::Token& separator, Lex::Token& name)
{
    Str text("super");
    text += separator.text ? separator.text->text : "::";
    text += name.text ? name.text->text : "";
    text += "(..)";
    return text;
}

namespace {

// The methods every Java and C# class has from its root class.
bool IsRootClassMethod(Str const& name)
{
    static char const* const names[] = {"toString", "equals", "hashCode", "clone", "finalize", "getClass",
                                        "notify", "notifyAll", "wait", "ToString", "Equals", "GetHashCode",
                                        "Finalize", "MemberwiseClone", "GetType", nullptr};
    for (int i = 0; names[i]; ++i)
        if (name == names[i])
            return true;
    return false;
}

} // namespace

bool BaseTransform::CallsJavaBase(Lex::Token& superToken, Str const& name)
{
    if (!m_pTransformedModule)
        return true;
    // C# names the base class's members `base.`, and writes its base class
    // after a `:`; Java after `extends`.
    bool cs = m_pModule->GetFileType() == Module::FT_CS;
    FOPModule* first = m_pTransformedModule->GetFirstModule();
    bool hasBase = cs ? !m_pTransformedModule->GetBaseClass().IsEmpty()
                      : first && !RefinementHead::ExtendsClass(*first).IsEmpty();
    // Every class has the root class's methods.
    if (!hasBase && !IsRootClassMethod(name))
        return false;
    if (cs)
        superToken.text = Lex::StrHashTable::insert("base");
    return true;
}

void BaseTransform::OnSuperBaseCall(Lex::Token& superToken, Lex::Token& separator, Lex::Token& name)
{
    Str called(name.text ? name.text->text : "");
    if (CallsJavaBase(superToken, called) || m_pModule->IsUsedAsMixin())
        return;
    Str own = m_pFunc ? TransformedFuncs::GetFuncName(*m_pFunc) : Str();
    Str text;
    text.Format("invalid call to %s in %s: it calls the base class's %s, as Java has it, but class %s has no base "
                "class; to call the method %s of this class, write %s(..) without super",
                CallText(separator, name).GetBuffer(), own.GetBuffer(), called.GetBuffer(),
                m_pModule->GetName().GetBuffer(), called.GetBuffer(), called.GetBuffer());
    ErrorLog::OnError(text, superToken);
}

void BaseTransform::OnUnrefinedSuperCall(Lex::Token& superToken, Lex::Token& separator, Lex::Token& name)
{
    Str own = m_pFunc ? m_pFunc->GetStrName() : Str(name.text ? name.text->text : "");
    Str lower = LowerVersions::List(*m_pModule, own);
    if (!lower.IsEmpty()) {
        if (m_pModule->IsUsedAsMixin()) {
            if (m_pTransformedModule)
                m_pTransformedModule->SetHasError(true);
            return;
        }
        Str key = m_pFunc ? TransformedFuncs::GetFuncName(*m_pFunc) : own;
        Str text;
        text.Format("invalid call to super: %s in %s refines no lower version, since none has its parameter types, "
                    "const and reference qualifiers; the layers below have %s: declare the method as the version "
                    "it refines",
                    CallText(separator, name).GetBuffer(), key.GetBuffer(), lower.GetBuffer());
        ErrorLog::OnError(text, superToken);
        return;
    }
    if (!m_pTransformedModule)
        return;
    // Java's `super.f()` calls the base class's f.
    if (IsJavaLike()) {
        if (!CallsJavaBase(superToken, own))
            OnUnresolvedSuperCall(superToken);
        return;
    }
    Str base = m_pTransformedModule->GetBaseClass();
    if (base.IsEmpty()) {
        OnUnresolvedSuperCall(superToken);
        return;
    }
    superToken.text = Lex::StrHashTable::insert(base.GetBuffer());
    // `super.f()` of an aspect module.
    if (separator.type == Lex::TOK_DOT)
        separator.text = Lex::StrHashTable::insert("::");
}

// Helpers.

TransformedModule* BaseTransform::GetModule(char const* name)
{
    LayerStack* stack = m_pLayer ? m_pLayer->m_pStack : nullptr;
    return stack && name ? stack->GetModule(name) : nullptr;
}

Str BaseTransform::GetTransformedLayerName(char const* layerName)
{
    return GeneratedNames::LayerIdentifier(layerName);
}

// The product-line interface carries the name of the product line (the
// equation's name).
Str BaseTransform::GetLayerInterfaceName()
{
    LayerStack* stack = m_pLayer ? m_pLayer->m_pStack : nullptr;
    return stack ? stack->m_ProductLineName : Str();
}

