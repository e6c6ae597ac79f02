#include "output/JampackTransform.h"

#include "base/ErrorLog.h"
#include "base/Name.h"
#include "base/StringArray.h"
#include "compose/EquationFile.h"
#include "compose/FOPModule.h"
#include "compose/Layer.h"
#include "compose/LayerStack.h"
#include "compose/TransformedModule.h"
#include "output/ModuleIncludes.h"
#include "output/ModuleTransform.h"
#include "parser/Info.h"
#include "parser/NodeBaseClass.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDecl.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeFuncDef.h"
#include "parser/NodeFuncParams.h"
#include "parser/NodeID.h"
#include "parser/NodeInitDecl.h"
#include "parser/NodeType.h"
#include "scanner/Token.h"

#include <cstring>

namespace {

char const* Text(Lex::Token const& token) { return token.text ? token.text->text : ""; }

// The closing parenthesis of a declaration's parameter list.
Lex::Token* ParamsEnd(NodeFuncDecl& decl)
{
    NodeFuncParams* params = decl.GetParams();
    NodeRoundBrace* brace = params ? params->GetBrace() : nullptr;
    return brace ? brace->GetLastToken() : nullptr;
}

// The specifier tokens between a declaration's parameter list and its body,
// initializer list, pure specifier or end; calls fn on each until it
// answers true.
template <class Fn>
Lex::Token* FindAfterParams(NodeFuncDecl& decl, Fn fn)
{
    Lex::Token* close = ParamsEnd(decl);
    for (Lex::Token* t = close ? close->next() : nullptr; t; t = t->next()) {
        if (BaseTransform::IsSkipped(*t))
            continue;
        if (t->type == Lex::TOK_OPEN_CURLY || t->type == Lex::TOK_SEMI_COLON || t->type == Lex::TOK_COLON ||
            t->type == Lex::TOK_CLOSE_CURLY)
            return nullptr;
        if (fn(*t))
            return t;
    }
    return nullptr;
}

bool IsOverrideToken(Lex::Token& t) { return t.type == Lex::TOK_OVERRIDE || std::strcmp(Text(t), "override") == 0; }

// Removes `override` before the return type and after the parameters.
// Answers whether there was one.
bool RemoveOverride(NodeFuncDecl& decl)
{
    bool found = false;
    if (NodeType* type = decl.GetReturnType()) {
        if (type->GetModifier(Lex::TOK_OVERRIDE)) {
            type->DeleteModifier(Lex::TOK_OVERRIDE);
            found = true;
        }
    }
    // The word is emptied, not unlinked: the token may end the declaration,
    // where the walk over the function body begins.
    while (Lex::Token* t = FindAfterParams(decl, IsOverrideToken)) {
        t->text = Lex::StrHashTable::insert("");
        t->SetType(Lex::TOK_STRING_VAL);
        found = true;
    }
    return found;
}

// `= 0` after the parameter list.
bool IsPure(NodeFuncDecl& decl)
{
    Lex::Token* assign = FindAfterParams(decl, [](Lex::Token& t) { return t.type == Lex::TOK_ASSIGN; });
    if (!assign)
        return false;
    for (Lex::Token* t = assign->next(); t; t = t->next())
        if (!BaseTransform::IsSkipped(*t))
            return std::strcmp(Text(*t), "0") == 0;
    return false;
}

// Unlinks a member declaration from its first specifier through its `;`.
void DropDeclaration(NodeFuncDecl& decl)
{
    Lex::Token* first = decl.GetToken();
    if (!first)
        return;
    for (Lex::Token* p = first->prev(); p; p = p->prev()) {
        if (BaseTransform::IsSkipped(*p))
            continue;
        if (p->type != Lex::TOK_VIRTUAL && p->type != Lex::TOK_INLINE)
            break;
        first = p;
    }
    Lex::Token* t = first;
    while (t) {
        Lex::Token* next = t->next();
        bool end = t->type == Lex::TOK_SEMI_COLON;
        t->delete_token();
        if (end)
            break;
        t = next;
    }
}

// The function's definition is its declaration (defined in the class body).
bool DefinedInClass(FuncInfo& f)
{
    NodeFuncDecl* decl = f.GetDecl();
    NodeFuncDef* def = f.GetDef();
    return decl && def && def->GetDecl() == decl;
}

Lex::Token* DeclToken(NodeFuncDecl& decl)
{
    if (Lex::Token* t = decl.GetToken())
        return t;
    NodeID* id = decl.GetNameNode();
    return id ? id->GetFirstToken() : nullptr;
}

} // namespace

JampackTransform::JampackTransform(FOPModule& module) : BaseTransform(module), m_pFirstModule(nullptr), m_bMakeInline(true)
{
}

JampackTransform::~JampackTransform() {}

void JampackTransform::Init()
{
    ModuleTransform* unit = m_pModule->m_pTransformationModule;
    m_pFirstModule = unit ? unit->GetFirstTransformationModule() : nullptr;
    BaseTransform::Init();
}

bool JampackTransform::Transform()
{
    if (!BaseTransform::Transform())
        return false;
    if (m_pRefinedModule && m_pModule->m_pMainClass)
        RemoveBaseClasses();
    NodeClassDef* cls = m_pModule->m_pMainClass;
    if (cls && m_pLayer) {
        Name* name = cls->GetName();
        Str const& layerName = m_pLayer->m_LayerName;
        static char const ending[] = "DynConditionalConfig";
        size_t n = sizeof(ending) - 1;
        if (name && std::strcmp(name->c_str(), "DynamicFeatureConfig") == 0 && layerName.GetLength() >= n &&
            layerName.Right(n) == ending)
            InitDynConfigData();
    }
    return true;
}

Str JampackTransform::GetTransformedClassName() { return m_pModule->GetName(); }

Str JampackTransform::GetFinalName() const { return m_pModule->GetName(); }

Str JampackTransform::GetSuperFuncName() { return m_SuperName; }

bool JampackTransform::RenameFunc(FuncInfo& f)
{
    ModuleTransform* unit = m_pModule->m_pTransformationModule;
    return f.m_pRefining && unit && unit->GetModuleForMethod(*f.m_pRefining);
}

Str JampackTransform::GetTransformedFuncName(FuncInfo& f)
{
    bool renamed = RenameFunc(f);
    if (!renamed && m_pModule->GetName() == m_ClassName)
        return Str();
    if (renamed && IsOperatorFunction(f)) {
        // An operator keeps its name: a layer name cannot be put into it.
        Str text;
        text.Format("cannot refine operator function %s", f.GetStrName().GetBuffer());
        NodeFuncDecl* decl = f.GetDecl();
        Lex::Token* token = decl ? DeclToken(*decl) : nullptr;
        if (token)
            ErrorLog::OnError(text, *token);
        else
            m_pModule->PrintError(text, 0);
        return Str();
    }
    Str name = m_ClassName;
    name += "::";
    if (renamed) {
        name += GetTransformedLayerName(m_pModule->GetRenameLayerName());
        name += "_";
    }
    if (f.IsDestructor()) {
        // A renamed destructor must not clash with a renamed constructor
        // without parameters of the same layer.
        name += renamed ? "dtor_" : "~";
        name += m_ClassName;
    } else if (f.IsConstructor()) {
        name += m_ClassName;
    } else {
        name += f.GetStrName();
    }
    return name;
}

bool JampackTransform::TransformFuncDeclStmt(bool isDefinitionDecl, NodeFuncDecl& decl)
{
    FuncInfo* f = decl.GetInfo();
    if (m_pRefiningFunc && f && !IsOperatorFunction(*f)) {
        bool wasVirtual = !isDefinitionDecl && f->IsVirtual();
        bool hadOverride = RemoveOverride(decl);
        bool pure = !isDefinitionDecl && IsPure(decl);
        if (m_bIsConstructor)
            decl.SetIsConstructor(false, "void");
        else if (m_bIsDestructor)
            decl.SetIsDestructor(false, "void");
        if (pure) {
            // A renamed pure function has no body to be called: drop it.
            DropDeclaration(decl);
        } else if (m_bMakeInline && !isDefinitionDecl && DefinedInClass(*f)) {
            MakeInline(decl);
        }
        if (wasVirtual && !hadOverride)
            MakeTopVirtual(*f);
    }
    return BaseTransform::TransformFuncDeclStmt(isDefinitionDecl, decl);
}

void JampackTransform::MakeTopVirtual(FuncInfo& f)
{
    ModuleTransform* unit = m_pModule->m_pTransformationModule;
    FuncInfo* top = &f;
    while (top->m_pRefining && unit && unit->GetModuleForMethod(*top->m_pRefining))
        top = top->m_pRefining;
    NodeFuncDecl* decl = top == &f ? nullptr : top->GetDecl();
    if (!decl)
        return;
    // The virtual function is introduced here now, so it overrides nothing.
    RemoveOverride(*decl);
    if (top->IsVirtual())
        return;
    Lex::Token* first = DeclToken(*decl);
    if (!first)
        return;
    first->AddTokenBefore(*NewTextToken("virtual "));
    top->SetIsVirtual(true);
}

void JampackTransform::OnTokSuperCall(Lex::Token* superToken, Lex::Token* separator, Lex::Token* name)
{
    if (!superToken || !separator || !name)
        return;
    if (!m_SuperName.IsEmpty()) {
        DeleteToken(*superToken);
        DeleteToken(*separator);
        name->text = Lex::StrHashTable::insert(m_SuperName.GetBuffer());
        return;
    }
    // Java-like modules call the base class's version through `super`, which
    // every Java class has.
    if (!m_pTransformedModule || separator->type == Lex::TOK_DOT)
        return;
    Str base = m_pTransformedModule->GetBaseClass();
    if (base.IsEmpty()) {
        OnUnresolvedSuperCall(*superToken);
        return;
    }
    superToken->text = Lex::StrHashTable::insert(base.GetBuffer());
}

bool JampackTransform::AddCtorFuncCall(NodeFuncDef& def)
{
    NodeBlock* body = def.GetBody();
    Lex::Token* open = body ? body->GetFirstToken() : nullptr;
    if (!open || open->type != Lex::TOK_OPEN_CURLY)
        return false;
    if (NodeInitDecl* init = def.GetInitDecl())
        init->RemoveInitializers("super");
    Str names;
    if (!GetCallArguments(def, ", ", names))
        return false;
    Str text;
    text.Format("\n\t%s(%s);", m_SuperName.GetBuffer(), names.GetBuffer());
    open->AddTokenAfter(*NewTextToken(text));
    return true;
}

bool JampackTransform::AddDtorFuncCall(NodeFuncDef& def)
{
    NodeBlock* body = def.GetBody();
    Lex::Token* close = body ? body->GetLastToken() : nullptr;
    if (!close || close->type != Lex::TOK_CLOSE_CURLY)
        return false;
    Str text;
    text.Format("\t%s();\n", m_SuperName.GetBuffer());
    close->AddTokenBefore(*NewTextToken(text));
    return true;
}

bool JampackTransform::GetCallArguments(NodeFuncDef& def, char const* separator, Str& names)
{
    NodeFuncDecl* decl = def.GetDecl();
    NodeFuncParams* params = decl ? decl->GetParams() : nullptr;
    if (!params)
        return true;
    if (HasUnnamedParams(*params)) {
        Str text;
        text.Format("unnamed parameter in %s: the refined version is not called",
                    m_pFunc ? m_pFunc->GetStrName().GetBuffer() : "function");
        if (Lex::Token* token = DeclToken(*decl))
            ErrorLog::OnWarning(text, *token);
        else
            m_pModule->PrintWarning(text, 0);
        return false;
    }
    names = params->GetParamNames(separator);
    return true;
}

bool JampackTransform::TransformCtorInitializer(NodeFuncDef& def)
{
    if (!BaseTransform::TransformCtorInitializer(def))
        return false;
    if (m_pRefiningFunc) {
        FuncNode* node = m_pRefiningFunc->GetNode();
        NodeFuncDef* target = node ? node->GetDef() : nullptr;
        if (target)
            def.MoveInitializer(target);
    }
    return true;
}

bool JampackTransform::RemoveBase(NodeBaseClass& base)
{
    if (!m_pRefinedModule)
        return false;
    // The bases of every layer go to the one class head that is written:
    // the lowest module's; a base named there already is not added again.
    FOPModule* lowest = m_pFirstModule ? m_pFirstModule : m_pRefinedModule;
    NodeClassDef* target = lowest->m_pMainClass;
    if (!target || lowest == m_pModule)
        return false;
    NodeID* id = base.GetID();
    Str name = id ? id->AsString() : Str();
    bool present = false;
    if (NodeBaseClassDecl* bases = target->GetBaseClassDecl()) {
        for (int i = 0; NodeBaseClass* other = bases->GetBase(i); ++i) {
            NodeID* otherId = other->GetID();
            if (otherId && otherId->AsString() == name) {
                present = true;
                break;
            }
        }
    }
    if (!present)
        target->CopyBaseClass(base);
    return true;
}

bool JampackTransform::CanParseFuncBody(FuncNode&) { return true; }

bool JampackTransform::TransformFuncDefinition(NodeFuncDef& def)
{
    if (!BaseTransform::TransformFuncDefinition(def))
        return false;
    if (!m_pLayer || !m_pLayer->DynamicIfConfig())
        return true;
    NodeBlock* body = def.GetBody();
    Lex::Token* open = body ? body->GetFirstToken() : nullptr;
    if (!open)
        return false;
    Str fallback;
    if (!m_SuperName.IsEmpty()) {
        Str names;
        if (!GetCallArguments(def, ",", names))
            return true;
        Str call = m_SuperName;
        call += "(";
        call += names;
        call += ")";
        // Constructors and destructors return nothing.
        if (m_bIsConstructor || m_bIsDestructor) {
            fallback = "{ ";
            fallback += call;
            fallback += "; return; } ";
        } else {
            fallback = "{ return ";
            fallback += call;
            fallback += ";  } ";
        }
    } else if (m_bIsDestructor) {
        // A destructor must not throw: without a lower version the layer's
        // part of the clean-up is skipped.
        fallback = "{ return; } ";
    } else {
        fallback.Format("throw (const char*)\"missing method implementation: %s\"",
                        m_pFunc ? m_pFunc->GetStrName().GetBuffer() : "");
    }
    StringArray names;
    m_pLayer->GetDynamicIfConfigNames(names);
    Str conditions;
    for (int i = 0; i < names.GetCount(); ++i) {
        if (i > 0)
            conditions += "\r\n\t\t\t && ";
        conditions += "Config::GetInstance().IsFeatureActive(DynamicFeatureConfig::feature_";
        conditions += names[i];
        conditions += ")";
    }
    Str text("\n\t    if (! (");
    text += conditions;
    text += ") ) ";
    text += fallback;
    text += ";";
    open->AddTokenAfter(*NewTextToken(text));
    if (ModuleIncludes* includes = m_pModule->GetIncludes())
        ModuleIncludes::AddInclude(includes->m_HeaderIncludes, "Config");
    return true;
}

void JampackTransform::InitDynConfigData()
{
    LayerStack* stack = m_pLayer ? m_pLayer->m_pStack : nullptr;
    if (!stack || !stack->m_pEquation)
        return;
    StringArray names;
    stack->m_pEquation->GetDynJampackLayers(names);
    Str features("\n");
    Str mapping("\n");
    for (int i = 0; i < names.GetCount(); ++i) {
        features += "feature_";
        features += names[i];
        features += ",\n";
        mapping += "m_FeatureNames[feature_";
        mapping += names[i];
        mapping += "]=\"";
        mapping += names[i];
        mapping += "\";";
    }
    for (Lex::Token* t = m_pModule->GetFirstToken(); t; t = t->next()) {
        if (!(t->flags & Lex::Token::comment_flag))
            continue;
        char const* text = Text(*t);
        if (std::strstr(text, "<ADD_FEATURES />"))
            t = &t->AddTokenAfter(*NewTextToken(features));
        else if (std::strstr(text, "<ADD_FEATURE_MAPPING />"))
            t = &t->AddTokenAfter(*NewTextToken(mapping));
    }
}
