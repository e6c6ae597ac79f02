#include "output/JampackTransform.h"

#include "base/ErrorLog.h"
#include "compose/FOPModule.h"
#include "compose/Layer.h"
#include "compose/Module.h"
#include "compose/TransformedModule.h"
#include "output/DynamicLayerCode.h"
#include "output/FuncHeadTokens.h"
#include "output/JavaConstructor.h"
#include "output/JavaPackage.h"
#include "output/ModuleTransform.h"
#include "output/RefinementParameters.h"
#include "output/RefinementSpecifiers.h"
#include "parser/Info.h"
#include "parser/NodeBaseClass.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeFuncDef.h"
#include "parser/NodeFuncParams.h"
#include "parser/NodeID.h"
#include "parser/NodeInitDecl.h"
#include "scanner/Token.h"

namespace {

// The function's definition is its declaration (defined in the class body).
bool DefinedInClass(FuncInfo& f)
{
    NodeFuncDecl* decl = f.GetDecl();
    NodeFuncDef* def = f.GetDef();
    return decl && def && def->GetDecl() == decl;
}

// Some version of the function below f has a body.
bool LowerHasBody(FuncInfo& f)
{
    for (FuncInfo* lower = &f; lower; lower = lower->m_pRefined)
        if (lower->GetDef())
            return true;
    return false;
}

} // namespace

JampackTransform::JampackTransform(FOPModule& module) : BaseTransform(module), m_pFirstModule(nullptr), m_bMakeInline(true)
{
}

JampackTransform::~JampackTransform() {}

void JampackTransform::Init()
{
    ModuleTransform* unit = ModuleTransform::Of(*m_pModule);
    m_pFirstModule = unit ? unit->GetFirstTransformationModule() : nullptr;
    BaseTransform::Init();
}

bool JampackTransform::Transform()
{
    if (!BaseTransform::Transform())
        return false;
    if (m_pRefinedModule && m_pModule->GetMainClass())
        RemoveBaseClasses();
    if (IsJavaLike())
        JavaPackage::WriteOnce(*m_pModule, m_pFirstModule);
    if (m_pLayer)
        DynamicLayerCode::FillFeatureConfig(*m_pModule, *m_pLayer);
    return true;
}

Str JampackTransform::GetTransformedClassName() { return m_pModule->GetName(); }

Str JampackTransform::GetFinalName() const { return m_pModule->GetName(); }

Str JampackTransform::GetSuperFuncName() { return m_SuperName; }

bool JampackTransform::RenameFunc(FuncInfo& f)
{
    ModuleTransform* unit = ModuleTransform::Of(*m_pModule);
    return f.m_pRefining && unit && unit->HasMethod(*f.m_pRefining);
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
        Lex::Token* token = decl ? FuncHeadTokens::NameToken(*decl) : nullptr;
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

FuncInfo* JampackTransform::GetTopRefining(FuncInfo& f)
{
    ModuleTransform* unit = ModuleTransform::Of(*m_pModule);
    return unit ? unit->GetTopRefining(f) : &f;
}

NodeFuncDecl* JampackTransform::GetTopRefiningDecl(FuncInfo& f)
{
    FuncInfo* top = GetTopRefining(f);
    return top != &f ? top->GetDecl() : nullptr;
}

void JampackTransform::CheckDefaultedRefinement(NodeFuncDecl& decl)
{
    Lex::Token* assign = BaseTransform::DefaultedOrDeleted(decl);
    if (!assign || !m_pRefinedFunc || !LowerHasBody(*m_pRefinedFunc))
        return;
    Lex::Token* word = NextNonWhite(assign);
    if (m_bIsDestructor && word && word->type == Lex::TOK_DEFAULT) {
        // A defaulted destructor still runs the lower layers' ones.
        Str body;
        body.Format("{ %s(); }", m_SuperName.GetBuffer());
        RefinementSpecifiers::ReplaceDefaulted(*assign, body.GetBuffer());
        return;
    }
    Str text;
    text.Format("%s is %s here, but a lower layer defines it: write a body, for example `{}`, to compose the layers",
                m_pFunc ? m_pFunc->GetStrName().GetBuffer() : "function",
                word ? FuncHeadTokens::Text(*word) : "defaulted");
    ErrorLog::OnError(text, *assign);
}

bool JampackTransform::TransformFuncDeclStmt(bool isDefinitionDecl, NodeFuncDecl& decl)
{
    FuncInfo* f = decl.GetInfo();
    if (!m_pRefiningFunc && m_pRefinedFunc && f && !isDefinitionDecl && (m_bIsConstructor || m_bIsDestructor))
        CheckDefaultedRefinement(decl);
    if (m_pRefiningFunc && f && !IsOperatorFunction(*f)) {
        bool wasVirtual = !isDefinitionDecl && f->IsVirtual();
        if (!isDefinitionDecl) {
            NodeFuncDecl* top = GetTopRefiningDecl(*f);
            wasVirtual = RefinementSpecifiers::MoveUp(decl, top, m_bIsConstructor || m_bIsDestructor) || wasVirtual;
            if (top)
                RefinementSpecifiers::MoveDefaultArguments(decl, *top);
        }
        bool hadOverride = RefinementSpecifiers::RemoveOverride(decl);
        bool pure = !isDefinitionDecl && RefinementSpecifiers::IsPure(decl);
        // A Java-like constructor stays one until its body moves into the
        // constructor that refines it.
        bool javaCtor = m_bIsConstructor && IsJavaLike();
        if (m_bIsConstructor && !javaCtor)
            decl.SetIsConstructor(false, "void");
        else if (m_bIsDestructor)
            decl.SetIsDestructor(false, "void");
        if (pure) {
            // A renamed pure function has no body to be called: drop it.
            BaseTransform::DropDeclaration(decl);
        } else if (m_bMakeInline && !isDefinitionDecl && !javaCtor && DefinedInClass(*f)) {
            MakeInline(decl);
        }
        if (wasVirtual && !hadOverride)
            MakeTopVirtual(*f);
    }
    return BaseTransform::TransformFuncDeclStmt(isDefinitionDecl, decl);
}

void JampackTransform::MakeTopVirtual(FuncInfo& f)
{
    FuncInfo* top = GetTopRefining(f);
    NodeFuncDecl* decl = top == &f ? nullptr : top->GetDecl();
    if (!decl)
        return;
    // The virtual function is introduced here now, so it overrides nothing.
    RefinementSpecifiers::RemoveOverride(*decl);
    if (top->IsVirtual())
        return;
    RefinementSpecifiers::AddSpecifier(*decl, "virtual");
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
        // A `&&`-qualified function is called on an rvalue of the object.
        if (m_pFunc && m_pFunc->m_Qualifiers.GetLength() >= 2 && m_pFunc->m_Qualifiers.Right(2) == "&&") {
            Str object;
            object.Format("static_cast<%s&&>(*this).", m_pModule->GetName().GetBuffer());
            name->AddTokenBefore(*NewTextToken(object));
        }
        return;
    }
    OnUnrefinedSuperCall(*superToken, *separator, *name);
}

bool JampackTransform::AddCtorFuncCall(NodeFuncDef& def)
{
    // A Java-like constructor takes the lower body in once its own body is parsed.
    if (IsJavaLike())
        return true;
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
        if (Lex::Token* token = FuncHeadTokens::NameToken(*decl))
            ErrorLog::OnWarning(text, *token);
        else
            m_pModule->PrintWarning(text, 0);
        return false;
    }
    names = RefinementParameters::CallArguments(*decl, *params, separator);
    return true;
}

bool JampackTransform::TransformCtorInitializer(NodeFuncDef& def)
{
    if (!BaseTransform::TransformCtorInitializer(def))
        return false;
    if (!m_pRefiningFunc && !m_pRefinedFunc)
        return true;
    // Every initializer of a composed constructor runs before the bodies of
    // all its layers, which see the caller's values: none may move them away.
    RefinementParameters::KeepInInitializers(def);
    if (!m_pRefiningFunc)
        return true;
    FuncNode* node = m_pRefiningFunc->GetNode();
    NodeFuncDef* target = node ? node->GetDef() : nullptr;
    NodeInitDecl* init = def.GetInitDecl();
    if (target) {
        if (init)
            RefinementParameters::RenameInInitializers(def, *target);
        def.MoveInitializer(target);
    } else if (init && init->GetFirstToken()) {
        ErrorLog::OnError("the initializers of this constructor cannot be moved: the constructor that refines it has "
                          "no body; give it one, for example `{}`",
                          *init->GetFirstToken());
    }
    if (!m_pRefinedFunc)
        RefinementParameters::HideUnused(def);
    return true;
}

bool JampackTransform::RemoveBase(NodeBaseClass& base)
{
    if (!m_pRefinedModule)
        return false;
    // The bases of every layer go to the one class head that is written:
    // the lowest module's; a base named there already is not added again.
    FOPModule* lowest = m_pFirstModule ? m_pFirstModule : m_pRefinedModule;
    NodeClassDef* target = lowest->GetMainClass();
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
    if (m_bIsConstructor && m_pRefinedFunc && IsJavaLike())
        JavaConstructor::Compose(def, *m_pRefinedFunc);
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
        // own clean-up is skipped.
        fallback = "{ return; } ";
    } else {
        fallback.Format("throw (const char*)\"missing method implementation: %s\"",
                        m_pFunc ? m_pFunc->GetStrName().GetBuffer() : "");
    }
    DynamicLayerCode::AddGuard(*open, *m_pLayer, fallback, *m_pModule);
    return true;
}
