#include "output/CombinedTransform.h"

#include "base/ErrorLog.h"
#include "compose/FOPModule.h"
#include "compose/Layer.h"
#include "compose/TransformedModule.h"
#include "output/ClassInterface.h"
#include "output/ClassOutput.h"
#include "output/ModuleOutput.h"
#include "output/ModuleTransform.h"
#include "output/TrailingCode.h"
#include "parser/AccessTypes.h"
#include "parser/ClassDB.h"
#include "parser/NodeClassDecl.h"
#include "parser/NodeClassDef.h"
#include "parser/Info.h"
#include "parser/NodeBaseClass.h"
#include "parser/NodeBrace.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeFuncDef.h"
#include "parser/NodeID.h"
#include "scanner/Token.h"

#include <cstring>

namespace {

char const* Text(Lex::Token const& token) { return token.text ? token.text->text : ""; }

// True when `virtual` stands in a base entry before its name, or right in
// front of the entry's first token.
bool IsVirtualBase(NodeBaseClass& base)
{
    NodeID* id = base.GetID();
    Lex::Token* name = id ? id->GetFirstToken() : nullptr;
    Lex::Token* first = base.GetFirstToken();
    if (!first)
        return false;
    for (Lex::Token* t = first; t && t != name; t = t->next())
        if (t->type == Lex::TOK_VIRTUAL)
            return true;
    Lex::Token* before = first->prev();
    while (before && BaseTransform::IsSkipped(*before))
        before = before->prev();
    return before && before->type == Lex::TOK_VIRTUAL;
}

// The base as written from its name through the end of the entry (template
// arguments and nested names included), blanks folded; else the plain name.
Str BaseText(NodeBaseClass& base, Str const& name)
{
    NodeID* id = base.GetID();
    Lex::Token* from = id ? id->GetFirstToken() : nullptr;
    Lex::Token* to = base.GetEndToken();
    if (!from || !to)
        return name;
    Str text;
    bool blank = false;
    for (Lex::Token* t = from;; t = t->next()) {
        if (!t)
            return name;
        if (BaseTransform::IsSkipped(*t)) {
            blank = !text.IsEmpty();
        } else {
            if (blank)
                text += " ";
            blank = false;
            text += Text(*t);
        }
        if (t == to)
            break;
    }
    return text.IsEmpty() ? name : text;
}

} // namespace

// Gives an out-of-class definition `Class::name` this unit's class name in
// place of the module's; the rest of the name stays as written.
void CombinedTransform::RequalifyDefinition(NodeFuncDecl& decl)
{
    NodeID* id = decl.GetID();
    Lex::Token* t = id ? id->GetFirstToken() : nullptr;
    Lex::Token* last = id ? id->GetLastToken() : nullptr;
    Str module = m_pModule->GetName();
    for (; t; t = t->next()) {
        if (!BaseTransform::IsSkipped(*t) && module == Text(*t)) {
            Lex::Token* sep = t->next();
            while (sep && BaseTransform::IsSkipped(*sep))
                sep = sep->next();
            if (sep && std::strcmp(Text(*sep), "::") == 0)
                t->text = Lex::StrHashTable::insert(m_ClassName.GetBuffer());
        }
        if (t == last)
            break;
    }
}

void CombinedTransform::RequalifyTrailingCode()
{
    TrailingCode* code = ModuleOutput::Of(*m_pModule).GetTrailingCode();
    if (!code)
        return;
    Str module = m_pModule->GetName();
    for (TrailingCode::Piece const& piece : code->GetPieces()) {
        if (!piece.m_bCode)
            continue;
        // Only heads and initializers: a function body names the interface.
        int depth = 0;
        for (Lex::Token* t = piece.m_pFirst; t; t = t == piece.m_pLast ? nullptr : t->next()) {
            if (BaseTransform::IsSkipped(*t))
                continue;
            char const* text = Text(*t);
            if (std::strcmp(text, "{") == 0)
                ++depth;
            else if (std::strcmp(text, "}") == 0 && depth > 0)
                --depth;
            if (depth > 0 || module != text)
                continue;
            Lex::Token* sep = t->next();
            while (sep && BaseTransform::IsSkipped(*sep))
                sep = sep->next();
            if (sep && std::strcmp(Text(*sep), "::") == 0)
                t->text = Lex::StrHashTable::insert(m_ClassName.GetBuffer());
        }
    }
}

namespace {

Lex::Token* NextCode(Lex::Token* t, Lex::Token* end)
{
    while (t && t != end && BaseTransform::IsSkipped(*t))
        t = t->next();
    return t;
}

bool Is(Lex::Token* t, char const* text) { return t && std::strcmp(Text(*t), text) == 0; }

} // namespace

void CombinedTransform::MoveNestedTypes()
{
    ClassInterface* cls = m_pTransformedModule ? ClassOutput::Of(*m_pTransformedModule).GetInterface() : nullptr;
    NodeClassDef* main = m_pModule->GetMainClass();
    NodeBlock* body = main ? main->GetBody() : nullptr;
    Lex::Token* open = body ? body->GetFirstToken() : nullptr;
    Lex::Token* close = body ? body->GetLastToken() : nullptr;
    if (!cls || !open || !close || open == close)
        return;
    // The access before the first label: private in a class, else public.
    Str access = "public";
    NodeClassDecl* head = main->GetClassDecl();
    for (Lex::Token* t = head ? head->GetFirstToken() : nullptr; t && t != open; t = t->next())
        if (Is(t, "class")) {
            access = "private";
            break;
        }
    Lex::Token* t = NextCode(open->next(), close);
    while (t && t != close) {
        if ((Is(t, "public") || Is(t, "protected") || Is(t, "private")) && Is(NextCode(t->next(), close), ":")) {
            access = Text(*t);
            t = NextCode(NextCode(t->next(), close)->next(), close);
            continue;
        }
        // The statement from t: to its ";" at depth 0, or to the "}" of a
        // function body.
        Lex::Token* first = t;
        Lex::Token* last = nullptr;
        bool hasBrace = false;
        int depth = 0;
        for (Lex::Token* u = t; u && u != close; u = u->next()) {
            if (BaseTransform::IsSkipped(*u))
                continue;
            // Only single brackets: a generated "{}" opens nothing.
            char const* w = Text(*u);
            char c = w[0] && !w[1] ? w[0] : 0;
            if (c == '(' || c == '{' || c == '[') {
                ++depth;
                hasBrace = hasBrace || c == '{';
            } else if (c == ')' || c == ']') {
                --depth;
            } else if (c == '}') {
                if (--depth == 0 && !Is(NextCode(u->next(), close), ";")) {
                    last = u;
                    break;
                }
            } else if (c == ';' && depth == 0) {
                last = u;
                break;
            }
        }
        if (!last)
            break;
        Lex::Token* second = NextCode(first->next(), last);
        Lex::Token* third = second ? NextCode(second->next(), last) : nullptr;
        Lex::Token* beforeEnd = last->prev();
        while (beforeEnd && beforeEnd != first && BaseTransform::IsSkipped(*beforeEnd))
            beforeEnd = beforeEnd->prev();
        bool isType = Is(first, "typedef") || (Is(first, "using") && Is(third, "=")) ||
                      (Is(first, "enum") && hasBrace && Is(beforeEnd, "}")) ||
                      ((Is(first, "class") || Is(first, "struct") || Is(first, "union")) && hasBrace &&
                       Is(last, ";") && Is(beforeEnd, "}"));
        if (isType) {
            Str text;
            for (Lex::Token* u = first;; u = u->next()) {
                text += Text(*u);
                u->text = Lex::StrHashTable::insert("");
                u->SetType(Lex::TOK_STRING_VAL);
                if (u == last)
                    break;
            }
            // A unit's class derives from the interface: private would hide it.
            cls->AddNestedType(access == "private" ? "protected" : access.GetBuffer(), text.GetBuffer());
        }
        t = NextCode(last->next(), close);
    }
}

CombinedTransform::CombinedTransform(FOPModule& module) : JampackTransform(module), m_Decorator(*this) {}

CombinedTransform::~CombinedTransform() {}

// ---- Binding units of the current function ----

bool CombinedTransform::FuncInSameBindingUnit(FuncInfo& f) { return m_Decorator.FuncInSameBindingUnit(f); }

bool CombinedTransform::RefinedFuncInSameBindingUnit()
{
    return m_pFunc && m_pFunc->m_pRefined && FuncInSameBindingUnit(*m_pFunc->m_pRefined);
}

bool CombinedTransform::RefiningFuncInSameBindingUnit()
{
    return m_pFunc && m_pFunc->m_pRefining && FuncInSameBindingUnit(*m_pFunc->m_pRefining);
}

FuncInfo* CombinedTransform::GetRefinedFuncInSameBindingUnit()
{
    for (FuncInfo* f = m_pFunc ? m_pFunc->m_pRefined : nullptr; f; f = f->m_pRefined)
        if (FuncInSameBindingUnit(*f))
            return f;
    return nullptr;
}

FuncInfo* CombinedTransform::GetRefiningFuncInSameBindingUnit() { return m_Decorator.GetRefiningInSameUnit(); }

bool CombinedTransform::AddHookMethod(FuncNode& func)
{
    FuncInfo* refined = GetRefinedFuncInSameBindingUnit();
    if (!refined)
        return false;
    return m_Decorator.AddHookMethod(func, refined->GetDecl());
}

FOPModule* CombinedTransform::GetDynamicBindingUnitModule() { return m_pFirstModule ? m_pFirstModule : m_pModule; }

Str CombinedTransform::GetTransformedClassName(char const* cls, char const* unit)
{
    Str name(cls ? cls : "");
    name += "__";
    name += GetTransformedLayerName(unit);
    return name;
}

Str CombinedTransform::GetSplPtrCode(Str const& spl, Str const& cls)
{
    Str code;
    code.Format("\t%s* __SPL_PTR;", spl.GetBuffer());
    code += Str().Format("\t%s& GetSPL() { %s };", spl.GetBuffer(), "return *__SPL_PTR;");
    code += Str().Format("\tpublic: %s* SetSplPtr(%s& ptr) { %s return this; }", cls.GetBuffer(), spl.GetBuffer(),
                         ("__SPL_PTR = (" + spl + "*)&ptr;").GetBuffer());
    return code;
}

// ---- Steps ----

Str CombinedTransform::GetTransformedClassName()
{
    return GetTransformedClassName(GetDynamicBindingUnitModule()->GetName(), m_pModule->GetBindingUnitName());
}

void CombinedTransform::Init()
{
    // Refined functions of a unit stay out of line like any method.
    m_bMakeInline = false;
    JampackTransform::Init();
}

void CombinedTransform::CollectIncludes()
{
    ClassInterface* cls = m_pTransformedModule ? ClassOutput::Of(*m_pTransformedModule).GetInterface() : nullptr;
    NodeClassDef* main = m_pModule->GetMainClass();
    NodeClassDecl* head = main ? main->GetClassDecl() : nullptr;
    Lex::Token* end = head ? head->GetFirstToken() : nullptr;
    if (!cls || !end)
        return;
    // Only unconditional lines: an include inside #if .. #endif is left to
    // the module's own header.
    int depth = 0;
    for (Lex::Token* t = m_pModule->GetFirstToken(); t && t != end; t = t->next()) {
        if (t->language != Lex::Token::pre_id)
            continue;
        if (t->type == Lex::PRE_IF || t->type == Lex::PRE_IFDEF || t->type == Lex::PRE_IFNDEF)
            ++depth;
        else if (t->type == Lex::PRE_ENDIF && depth > 0)
            --depth;
        if (t->type != Lex::PRE_INCLUDE || depth > 0)
            continue;
        // The directive runs to the end of its line.
        Str line;
        for (Lex::Token* u = t; u && u != end; u = u->next()) {
            char const* text = Text(*u);
            if (u != t && u->language == Lex::Token::white_id && std::strchr(text, '\n'))
                break;
            if (u->flags & Lex::Token::comment_flag)
                continue;
            line += u->language == Lex::Token::white_id ? " " : text;
            t = u;
        }
        cls->AddModuleInclude(line.GetBuffer());
    }
}

bool CombinedTransform::Transform()
{
    if (!JampackTransform::Transform())
        return false;
    CollectIncludes();
    RequalifyTrailingCode();
    MoveNestedTypes();
    if (!RemoveBaseClasses())
        return false;
    if (!m_Decorator.CreateBaseDefinition())
        return false;
    return m_Decorator.CreateFactoryMethod();
}

bool CombinedTransform::RemoveBase(NodeBaseClass& base)
{
    NodeID* id = base.GetID();
    Str name = id ? id->AsString() : Str();
    if (name.IsEmpty() || !GetModule(name)) {
        // A base of a refinement moves to the head of the unit's lowest
        // module, the one head of the unit that is written.
        return JampackTransform::RemoveBase(base);
    }
    if (m_pTransformedModule) {
        // The interface declares the base as the module did: a virtual base
        // stays virtual, template arguments stay.
        Str access = ConvertAccessTypeToString(base.m_Access);
        if (IsVirtualBase(base))
            access = "virtual " + access;
        ClassOutput::Of(*m_pTransformedModule).AddBaseClass(access, name, BaseText(base, name));
    }
    m_Decorator.m_BaseNames.Add(name);
    return true;
}

bool CombinedTransform::TransformFuncDecl(FuncNode& func)
{
    NodeFuncDecl* decl = func.GetDecl();
    FuncInfo* f = decl ? decl->GetInfo() : nullptr;
    if (f && IsOperatorFunction(*f)) {
        NodeFuncDef* def = f->GetDef();
        NodeFuncDecl* outside = def ? def->GetDecl() : nullptr;
        if (outside && outside != f->GetDecl())
            RequalifyDefinition(*outside);
    }
    if (!BaseTransform::TransformFuncDecl(func))
        return false;
    if (GetRefinedFuncInSameBindingUnit() && !RefinedFuncInSameBindingUnit())
        AddHookMethod(func);
    if (!GetRefiningFuncInSameBindingUnit())
        m_Decorator.AddInterfaceMethod(func);
    return true;
}

bool CombinedTransform::TransformDeclarations()
{
    if (!JampackTransform::TransformDeclarations())
        return false;
    if (!m_pClassDB)
        return true;
    // f() and f() const share one function info: the second declaration
    // gets its own interface method.
    for (int i = 0; i < m_pClassDB->m_FuncDecls.GetCount(); ++i) {
        NodeFuncDecl* decl = m_pClassDB->m_FuncDecls[i];
        FuncInfo* f = decl ? decl->GetInfo() : nullptr;
        if (!f || f->GetDecl() == decl ||
            DecoratorTransform::GetSignatureKey(*f, decl) == DecoratorTransform::GetSignatureKey(*f))
            continue;
        OnBeginTransform(*f);
        if (!GetRefiningFuncInSameBindingUnit())
            m_Decorator.AddInterfaceMethod(*decl);
    }
    return true;
}

bool CombinedTransform::RenameFunc(FuncInfo&)
{
    FuncInfo* refining = GetRefiningFuncInSameBindingUnit();
    ModuleTransform* unit = ModuleTransform::Of(*m_pModule);
    return refining && unit && unit->HasMethod(*refining);
}

Str CombinedTransform::GetTransformedFuncName(FuncInfo& f)
{
    bool prefixed = RenameFunc(f);
    if (!prefixed && m_pModule->GetName() == m_ClassName)
        return Str();
    if (prefixed && IsOperatorFunction(f)) {
        // An operator keeps its name: a layer name cannot be put into it.
        m_pModule->PrintError("cannot refine operator function " + f.GetStrName(), 0);
        return Str();
    }
    // An operator keeps its name; an out-of-class definition gets the unit's
    // class name in TransformFuncDecl.
    if (IsOperatorFunction(f))
        return Str();
    Str name = m_ClassName;
    name += "::";
    if (prefixed) {
        name += GetTransformedLayerName(m_pModule->GetRenameLayerName());
        name += "_";
    }
    if (f.IsDestructor()) {
        // A renamed destructor must not clash with a renamed constructor
        // without parameters of the same layer.
        name += prefixed ? "dtor_" : "~";
        name += m_ClassName;
    } else if (f.IsConstructor()) {
        name += m_ClassName;
    } else {
        FuncInfo* merged = RefinedFuncInSameBindingUnit() ? nullptr : m_Decorator.GetJampackRefinedMethod();
        name += merged ? merged->GetStrName() : f.GetStrName();
    }
    return name;
}

Str CombinedTransform::GetSuperFuncName()
{
    FuncInfo* r = GetRefinedFuncInSameBindingUnit();
    if (!r || RefinedFuncInSameBindingUnit())
        return m_SuperName;
    Str name("final->");
    name += r->GetNameText();
    return name;
}

// ---- Body events ----

void CombinedTransform::OnTokSuperCall(Lex::Token* superToken, Lex::Token* separator, Lex::Token* name)
{
    if (!GetRefinedFuncInSameBindingUnit()) {
        m_Decorator.OnTokSuperCall(superToken, separator, name);
        return;
    }
    if (!superToken || !separator || !name)
        return;
    DeleteToken(*superToken);
    DeleteToken(*separator);
    name->text = Lex::StrHashTable::insert(GetSuperFuncName().GetBuffer());
}

void CombinedTransform::OnTokThis(Lex::Token& thisToken, bool beforeBody)
{
    m_Decorator.OnTokThis(thisToken, beforeBody);
}

void CombinedTransform::OnMemberAccess(Lex::Token* thisToken, Lex::Token& name, bool beforeBody)
{
    m_Decorator.OnMemberAccess(thisToken, name, beforeBody);
}

bool CombinedTransform::OnModuleInstantiation(TransformedModule& cls, Lex::Token& newToken, Lex::Token& className)
{
    return m_Decorator.OnModuleInstantiation(cls, newToken, className);
}

// ---- Constructors, destructors, declarations ----

bool CombinedTransform::AddCtorFuncCall(NodeFuncDef& ctor)
{
    if (!RefinedFuncInSameBindingUnit())
        return true;
    return JampackTransform::AddCtorFuncCall(ctor);
}

bool CombinedTransform::AddDtorFuncCall(NodeFuncDef& dtor)
{
    // The destructor of another unit's object runs with that object.
    if (!RefinedFuncInSameBindingUnit())
        return true;
    return JampackTransform::AddDtorFuncCall(dtor);
}

bool CombinedTransform::TransformFuncDeclStmt(bool isDefinitionDecl, NodeFuncDecl& decl)
{
    if (GetRefiningFuncInSameBindingUnit())
        return JampackTransform::TransformFuncDeclStmt(isDefinitionDecl, decl);
    return BaseTransform::TransformFuncDeclStmt(isDefinitionDecl, decl);
}

bool CombinedTransform::TransformCtorInitializer(NodeFuncDef& ctor)
{
    if (!BaseTransform::TransformCtorInitializer(ctor))
        return false;
    // The initializers go to the constructor that stays one: the highest of
    // the unit, not the next higher one, which may lie in another unit.
    FuncInfo* refining = GetRefiningFuncInSameBindingUnit();
    if (!refining)
        return true;
    for (FuncInfo* f = refining; f; f = f->m_pRefining)
        if (FuncInSameBindingUnit(*f))
            refining = f;
    FuncNode* node = refining->GetNode();
    NodeFuncDef* target = node ? node->GetDef() : nullptr;
    if (target)
        ctor.MoveInitializer(target);
    return true;
}

bool CombinedTransform::CanParseFuncBody(FuncNode&) { return true; }
