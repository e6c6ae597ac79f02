#include "output/DecoratorTransform.h"

#include "base/ErrorLog.h"
#include "compose/FOPModule.h"
#include "compose/Layer.h"
#include "compose/TransformedModule.h"
#include "output/BaseTransform.h"
#include "output/ClassOutput.h"
#include "output/FuncDeclText.h"
#include "output/InterfaceMethodBuilder.h"
#include "output/LayerDecorator.h"
#include "output/ModuleIncludes.h"
#include "output/ModuleOutput.h"
#include "output/ModuleTransform.h"
#include "output/Templates.h"
#include "parser/ClassDB.h"
#include "parser/Info.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeFuncDef.h"
#include "parser/NodeFuncParams.h"
#include "parser/SimpleTU.h"
#include "scanner/Token.h"

#include <cstring>

namespace {

char const* Text(Lex::Token const& token) { return token.text ? token.text->text : ""; }

void SetText(Lex::Token& token, char const* text) { token.text = Lex::StrHashTable::insert(text); }

} // namespace

Str DecoratorTransform::GetNameSpace(FOPModule& module)
{
    // An unnamed namespace cannot be named from outside it.
    Str name = module.GetNameSpaceName();
    return std::strstr(name.GetBuffer(), "(unnamed)") ? Str() : name;
}

Str DecoratorTransform::Qualified(Str const& name)
{
    Str space = GetNameSpace(*m_pModule);
    return space.IsEmpty() ? name : space + "::" + name;
}

// ---- Construction ----

DecoratorTransform::DecoratorTransform(BaseTransform& transform)
    : m_pTransform(&transform), m_pModule(transform.m_pModule), m_pClass(m_pModule->GetTransformedClass()),
      m_pSignatures(m_pClass ? &ClassOutput::Of(*m_pClass).GetInterfaceSignatures() : nullptr), m_pLayer(m_pModule->GetLayer()),
      m_pIncludes(ModuleOutput::Of(*m_pModule).GetIncludes())
{
}

// ---- Binding units ----

LayerDecorator* DecoratorTransform::GetBindingUnit(FuncInfo& f)
{
    Layer* layer = f.m_pModule ? f.m_pModule->GetLayer() : nullptr;
    return layer ? LayerDecorator::Of(*layer) : nullptr;
}

bool DecoratorTransform::FuncInSameBindingUnit(FuncInfo& f)
{
    LayerDecorator* own = m_pLayer ? LayerDecorator::Of(*m_pLayer) : nullptr;
    return GetBindingUnit(f) == own;
}

bool DecoratorTransform::HasRefiningInBindingUnit(LayerDecorator& unit)
{
    FuncInfo* current = m_pTransform->m_pFunc;
    for (FuncInfo* f = current ? current->m_pRefining : nullptr; f; f = f->m_pRefining)
        if (GetBindingUnit(*f) == &unit)
            return true;
    return false;
}

FuncInfo* DecoratorTransform::GetJampackRefinedMethod()
{
    FuncInfo* current = m_pTransform->m_pFunc;
    for (FuncInfo* f = current ? current->m_pRefined : nullptr; f; f = f->m_pRefined) {
        LayerDecorator* unit = GetBindingUnit(*f);
        if (unit && HasRefiningInBindingUnit(*unit))
            return f;
    }
    return nullptr;
}

FuncInfo* DecoratorTransform::GetRefiningInSameUnit()
{
    FuncInfo* current = m_pTransform->m_pFunc;
    for (FuncInfo* f = current ? current->m_pRefining : nullptr; f; f = f->m_pRefining)
        if (FuncInSameBindingUnit(*f))
            return f;
    return nullptr;
}

// ---- Body events ----

char const* DecoratorTransform::GetThisName()
{
    // A constructor that a higher one of its unit refines becomes a method
    // without the pFinal parameter.
    if (m_pTransform->m_bIsConstructor && !GetRefiningInSameUnit())
        return "pFinal";
    return "this->final";
}

void DecoratorTransform::RenameThis(Lex::Token& token) { SetText(token, GetThisName()); }

void DecoratorTransform::OnTokThis(Lex::Token& token, bool) { RenameThis(token); }

void DecoratorTransform::OnMemberAccess(Lex::Token* thisToken, Lex::Token& name, bool)
{
    // A static function has no object to go through.
    FuncInfo* current = m_pTransform->m_pFunc;
    if (current && current->IsStatic())
        return;
    if (IsFieldOfOtherUnit(name))
        return;
    ClassDB* db = GetDB();
    NodeFuncDecl* decl = db ? db->GetFuncDecl(Text(name)) : nullptr;
    FuncInfo* called = decl ? decl->GetInfo() : nullptr;
    if (called && called->GetAccess() == ACCESS_PRIVATE)
        return;
    // A static member is called on the class, not on the final object.
    if (called && called->IsStatic())
        return;
    // A constructor or destructor named here is a qualifier or a type
    // (Stack::f, new Stack), never a member call.
    if (called && (called->IsConstructor() || called->IsDestructor()))
        return;
    Lex::Token* next = BaseTransform::NextNonWhite(&name);
    if (!thisToken && next && next->type == Lex::TOK_COLON_COLON)
        return;
    if (thisToken) {
        RenameThis(*thisToken);
        return;
    }
    if (!called)
        return;
    Str text = GetThisName();
    text += "->";
    name.AddTokenBefore(*BaseTransform::NewTextToken(text));
}

namespace {

// The name is declared in the function before the token: a parameter, or a
// local whose name follows a type (`int m_w`, `Shape* m_w`).
bool DeclaredLocally(FuncInfo& f, Lex::Token& use)
{
    NodeFuncDef* def = f.GetDef();
    NodeFuncDecl* decl = def ? def->GetDecl() : f.GetDecl();
    NodeFuncParams* params = decl ? decl->GetParams() : nullptr;
    Str names(",");
    if (params) {
        names += params->GetParamNames(",");
        names += ",";
    }
    Str key(",");
    key += Text(use);
    key += ",";
    if (std::strstr(names.GetBuffer(), key.GetBuffer()))
        return true;
    NodeBlock* body = def ? def->GetBody() : nullptr;
    Lex::Token* prev = nullptr;
    for (Lex::Token* t = body ? body->GetFirstToken() : nullptr; t; t = t->next()) {
        if (BaseTransform::IsSkipped(*t))
            continue;
        if (t->text == use.text && prev &&
            (prev->type == Lex::TOK_ID || prev->type == Lex::TOK_MUL || prev->type == Lex::TOK_AND ||
             prev->type == Lex::TOK_AND_AND || prev->type == Lex::TOK_GREATER || prev->type == Lex::TOK_INT ||
             prev->type == Lex::TOK_CHAR || prev->type == Lex::TOK_BOOL || prev->type == Lex::TOK_DOUBLE ||
             prev->type == Lex::TOK_FLOAT || prev->type == Lex::TOK_LONG || prev->type == Lex::TOK_SHORT ||
             prev->type == Lex::TOK_UNSIGNED || prev->type == Lex::TOK_AUTO))
            return true;
        if (t == &use)
            break;
        prev = t;
    }
    return false;
}

} // namespace

bool DecoratorTransform::IsFieldOfOtherUnit(Lex::Token& name)
{
    MemberInfo* member = m_pClass ? m_pClass->GetMember(Text(name)) : nullptr;
    ModuleTransform* unit = ModuleTransform::Of(*m_pModule);
    FuncInfo* current = m_pTransform->m_pFunc;
    if (!member || !member->IsField() || !unit || !current)
        return false;
    for (int i = 0; i < unit->m_Modules.GetCount(); ++i) {
        SimpleTU* tu = unit->m_Modules[i]->GetParseUnit();
        if (tu && tu->db()->GetField(Text(name)))
            return false;
    }
    if (DeclaredLocally(*current, name))
        return false;
    // Each unit's object holds only its own unit's fields.
    Str key;
    key.Format("%p %s", static_cast<void*>(current), Text(name));
    if (m_ReportedFields.Contains(key.GetBuffer()))
        return true;
    m_ReportedFields.Add(key.GetBuffer());
    Str text;
    text.Format("%s is a member variable of %s in another binding unit: code of binding unit %s cannot reach it; "
                "give the unit that declares it a method to call",
                Text(name), m_pModule->GetName().GetBuffer(), unit->GetBindingUnitName().GetBuffer());
    ErrorLog::OnError(text, name);
    return true;
}

void DecoratorTransform::OnTokSuperCall(Lex::Token*, Lex::Token* separator, Lex::Token* name)
{
    if (!separator)
        return;
    SetText(*separator, "->");
    if (!name)
        return;
    if (FuncInfo* merged = GetJampackRefinedMethod())
        SetText(*name, merged->GetNameText());
}

bool DecoratorTransform::OnModuleInstantiation(TransformedModule& cls, Lex::Token& newToken, Lex::Token& className)
{
    if (cls.HasDynamicDelegation())
        CreateFactoryMethodInvocation(newToken, className);
    return true;
}

void DecoratorTransform::CreateFactoryMethodInvocation(Lex::Token& newToken, Lex::Token& className)
{
    Lex::Token* next = BaseTransform::NextNonWhite(&className);
    // An array of objects cannot come from the factory.
    if (next && next->type == Lex::TOK_OPEN_SQUARE)
        return;
    Str original = Text(className);
    BaseTransform::DeleteToken(newToken);
    Str text("GetSPL().New_");
    text += original;
    if (!next || next->type != Lex::TOK_OPEN_ROUND) {
        text += "()";
        SetText(className, text);
        return;
    }
    SetText(className, text);
    // The factory takes no constructor arguments: they are emptied (the
    // body walk goes on over these tokens) and reported.
    int depth = 1;
    bool dropped = false;
    for (Lex::Token* t = next->next(); t; t = t->next()) {
        if (t->type == Lex::TOK_OPEN_ROUND)
            ++depth;
        else if (t->type == Lex::TOK_CLOSE_ROUND && --depth == 0)
            break;
        if (BaseTransform::IsSkipped(*t))
            continue;
        dropped = true;
        SetText(*t, "");
        t->SetType(Lex::TOK_STRING_VAL);
    }
    if (dropped) {
        Str warning;
        warning.Format("constructor arguments of new %s are not passed to New_%s", original.GetBuffer(),
                       original.GetBuffer());
        ErrorLog::OnWarning(warning, className);
    }
}

// ---- Class head and layer class ----

Str DecoratorTransform::GetDecoratorName(char const* name)
{
    Str result(name ? name : "");
    result += "__Decorator";
    return result;
}

bool DecoratorTransform::CreateBaseDefinition()
{
    Str name = m_pModule->GetName();
    return AddBaseClass(GetDecoratorName(name), name);
}

bool DecoratorTransform::AddBaseClass(char const* base, char const* include)
{
    if (NodeClassDef* cls = m_pModule->GetMainClass())
        cls->AddBaseClass(ACCESS_PUBLIC, base);
    if (m_pIncludes)
        ModuleIncludes::AddInclude(m_pIncludes->m_HeaderIncludes, include);
    return true;
}

bool DecoratorTransform::CreateFactoryMethod()
{
    LayerDecorator* unit = m_pLayer ? LayerDecorator::Of(*m_pLayer) : nullptr;
    if (!unit)
        return true;
    Str base = m_BaseNames.GetCount() ? m_BaseNames[0] : Str();
    Str space = GetNameSpace(*m_pModule);
    Str forward;
    if (!space.IsEmpty())
        forward = m_pModule->GetNameSpaceOpenText() + "class " + m_pModule->GetName() + ";\n" +
                  m_pModule->GetNameSpaceCloseText() + "\n";
    unit->AddFactoryMethod(m_pModule->GetName(), m_pTransform->m_ClassName, base, Str(), Str(), space, forward);
    return true;
}

// ---- Interface ----

Str DecoratorTransform::GetSignatureKey(FuncInfo& f, NodeFuncDecl* decl)
{
    return FuncDeclText::GetSignatureKey(f, decl);
}

bool DecoratorTransform::AddInterfaceMethod(FuncNode& func)
{
    return InterfaceMethodBuilder(*this).AddInterfaceMethod(func);
}

bool DecoratorTransform::AddHookMethod(FuncNode& func, FuncNode* refined)
{
    return InterfaceMethodBuilder(*this).AddHookMethod(func, refined);
}

// ---- Not called in a composition run ----

Str DecoratorTransform::GetHookName(char const* name)
{
    Str result(name ? name : "");
    result += "__hook__";
    if (m_pLayer)
        result += m_pLayer->m_LayerName;
    result.Replace(".", "_");
    return result;
}

ClassDB* DecoratorTransform::GetDB() { return m_pTransform->m_pClassDB; }

bool DecoratorTransform::CreateBaseClassGetter()
{
    for (int i = 0; i < m_BaseNames.GetCount(); ++i)
        CreateBaseClassGetter(m_BaseNames[i]);
    return true;
}

bool DecoratorTransform::CreateBaseClassGetter(Str const& base)
{
    NodeClassDef* cls = m_pModule->GetMainClass();
    NodeBlock* body = cls ? cls->GetBody() : nullptr;
    Lex::Token* open = body ? body->GetFirstToken() : nullptr;
    if (!open)
        return false;
    Str text = Templates::GetInstance()->GetTemplate("BaseClassGetter");
    text.Replace("<CLASS />", base);
    text.Replace("<BASE />", m_pModule->GetName());
    open->AddTokenAfter(*BaseTransform::NewTextToken(text));
    return true;
}
