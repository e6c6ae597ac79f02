#include "output/InterfaceMethodBuilder.h"

#include "base/ErrorLog.h"
#include "compose/FOPModule.h"
#include "compose/Layer.h"
#include "compose/TransformedModule.h"
#include "output/BaseTransform.h"
#include "output/ClassOutput.h"
#include "output/DeclText.h"
#include "output/DecoratorTransform.h"
#include "output/FuncDeclText.h"
#include "output/LayerDecorator.h"
#include "parser/ClassDB.h"
#include "parser/Info.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeFuncDef.h"
#include "parser/SimpleTU.h"
#include "scanner/Token.h"

#include <vector>

namespace {

char const* Text(Lex::Token const& token) { return token.text ? token.text->text : ""; }

void Warn(FOPModule& module, NodeFuncDecl& decl, Str const& text)
{
    if (Lex::Token* token = FuncDeclText::GetReportToken(decl))
        ErrorLog::OnWarning(text, *token);
    else
        module.PrintWarning(text, 0);
}

} // namespace

InterfaceMethodBuilder::InterfaceMethodBuilder(DecoratorTransform& decorator)
    : m_pDecorator(&decorator), m_pModule(decorator.m_pModule), m_pClass(decorator.m_pClass),
      m_pSignatures(decorator.m_pSignatures), m_pLayer(decorator.m_pLayer)
{
}

bool InterfaceMethodBuilder::AddInterfaceMethodSignature(Str const& signature)
{
    // A trace of the interface's making: to the log only, with the class
    // and the module's file.
    Str where = "class " + m_pModule->GetName() + ", ";
    Str file = m_pModule->GetSourcePath();
    if (m_pSignatures && m_pSignatures->Contains(signature)) {
        ErrorLog::OnInfo(where + "already there: " + signature, file);
        return false;
    }
    ErrorLog::OnInfo(where + "not found: " + signature, file);
    if (m_pSignatures)
        m_pSignatures->Add(signature);
    return true;
}

bool InterfaceMethodBuilder::AddInterfaceMethod(FuncNode& func)
{
    NodeFuncDecl* decl = func.GetDecl();
    FuncInfo* f = decl ? decl->GetInfo() : nullptr;
    if (!f || f->IsConstructor() || f->IsDestructor() || f->GetAccess() == ACCESS_PRIVATE ||
        FuncDeclText::IsAllocationFunction(*f))
        return true;
    if (FuncDeclText::IsMemberTemplate(*decl)) {
        Warn(*m_pModule, *decl, "member template " + f->GetStrName() + ": no interface method is generated for it");
        return true;
    }
    NodeFuncParams* params = decl->GetParams();
    std::vector<Str> added;
    Str paramNames;
    if (!FuncDeclText::NameParams(params, added, paramNames)) {
        Warn(*m_pModule, *decl,
             "unnamed parameter in " + f->GetStrName() + ": no interface method is generated for it");
        return true;
    }
    Str signature = FuncDeclText::GetSignatureKey(*f, decl);
    Str declaration = FuncDeclText::GetDeclaration(*decl, KeepDefault(), added);
    return AddInterfaceMethod(f->GetStrName(), signature, declaration, paramNames, f->IsStatic(),
                              FuncDeclText::GetDeclaration(*decl, nullptr, added));
}

bool InterfaceMethodBuilder::AddInterfaceMethod(Str const& name, Str const& signature, Str const& declaration,
                                            Str const& paramNames, bool isStatic, Str const& plainDeclaration)
{
    if (!AddInterfaceMethodSignature(signature))
        return true;
    Str module = m_pModule->GetName();
    Str head = GetDeclName(declaration);
    // The object or layer below is null when no loaded unit makes the
    // method: the program stops rather than follow a null pointer.
    Str body;
    if (!isStatic) {
        body.Format("{ auto* below = GetSuper_%s(); if (!below) std::abort(); return below->%s(%s); }",
                    module.GetBuffer(), name.GetBuffer(), paramNames.GetBuffer());
    } else {
        Str forwardName = module + "__" + name;
        Str unitDecl = plainDeclaration.IsEmpty() ? declaration : plainDeclaration;
        Str decl2 = GetDeclName(DeclText::ReplaceWord(unitDecl, "static", ""));
        decl2 = DeclText::ReplaceCall(decl2, name, forwardName + "(");
        Str forward;
        forward.Format("%s(%s);", forwardName.GetBuffer(), paramNames.GetBuffer());
        Str plain;
        plain.Format("%s(%s);", name.GetBuffer(), paramNames.GetBuffer());
        Str params = name + "(<LAYER_INTERFACE_NAME>& spl";
        if (!paramNames.IsEmpty())
            params += ", ";
        head = DeclText::ReplaceCall(head, name, params);
        body = "{ return spl." + forward + " }";
        Str className = m_pDecorator->Qualified(m_pDecorator->m_pTransform->m_ClassName);
        if (LayerDecorator* unit = m_pLayer ? LayerDecorator::Of(*m_pLayer) : nullptr)
            unit->AddStaticMethodCall(decl2 + "{ auto* below = GetSuperDecorator(); if (!below) std::abort(); return below->" +
                                          forward + " }",
                                      decl2 + "{ return " + className + "::" + plain + " }");
    }
    if (m_pClass)
        ClassOutput::Of(*m_pClass).AddInterfaceMethod(head + " " + body);
    return true;
}

bool InterfaceMethodBuilder::AddHookMethod(FuncNode& func, FuncNode* refined)
{
    if (!refined)
        return false;
    NodeFuncDecl* decl = func.GetDecl();
    FuncInfo* f = decl ? decl->GetInfo() : nullptr;
    if (!f)
        return false;
    if (f->IsConstructor() || f->IsDestructor() || FuncDeclText::IsAllocationFunction(*f))
        return true;
    if (FuncDeclText::IsMemberTemplate(*decl)) {
        Warn(*m_pModule, *decl, "member template " + f->GetStrName() + ": no hook method is generated for it");
        return true;
    }
    NodeFuncDecl* refinedDecl = refined->GetDecl();
    Name* refinedName = refinedDecl ? refinedDecl->GetName() : nullptr;
    if (!refinedName)
        return false;
    NodeFuncParams* params = decl->GetParams();
    std::vector<Str> added;
    Str paramNames;
    if (!FuncDeclText::NameParams(params, added, paramNames)) {
        Warn(*m_pModule, *decl, "unnamed parameter in " + f->GetStrName() + ": no hook method is generated for it");
        return true;
    }
    Str refName = refinedName->c_str();
    Str name = f->GetStrName();
    Str signature = DeclText::ReplaceCall(FuncDeclText::GetSignatureKey(*f, decl), name, refName + "(");
    Str declaration =
        DeclText::ReplaceCall(FuncDeclText::GetDeclaration(*decl, KeepDefault(), added), name, refName + "(");
    return AddInterfaceMethod(refName, signature, declaration, paramNames, false);
}

FuncDeclText::KeepDefaultFunc InterfaceMethodBuilder::KeepDefault()
{
    // The interface has no members of the class but its methods: a default
    // that names a member of any module of the class is left out.
    std::vector<ClassDB*> dbs;
    if (m_pClass) {
        for (int i = 0; i < m_pClass->GetModules().GetCount(); ++i)
            if (SimpleTU* unit = m_pClass->GetModules()[i] ? m_pClass->GetModules()[i]->GetParseUnit() : nullptr)
                dbs.push_back(unit->db());
    } else if (m_pDecorator->GetDB()) {
        dbs.push_back(m_pDecorator->GetDB());
    }
    return [dbs](Lex::Token* first, Lex::Token* end) {
        for (Lex::Token* t = first; t && t != end; t = t->next()) {
            if (t->type == Lex::TOK_THIS)
                return false;
            if (t->type != Lex::TOK_ID)
                continue;
            for (ClassDB* db : dbs)
                if (db && (db->GetFuncDecl(Text(*t)) || db->GetField(Text(*t))))
                    return false;
        }
        return true;
    };
}
