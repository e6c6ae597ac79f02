#include "parser/SourceCodePrinter.h"

#include "base/Name.h"
#include "parser/Info.h"
#include "parser/PrintConfig.h"

SourceCodePrinter* SourceCodePrinter::m_pInst = nullptr;

SourceCodePrinter* SourceCodePrinter::CreateDefaultInstance()
{
    return SourceCodePrinterFactory::CreateDefaultPrinter();
}

SourceCodePrinter& SourceCodePrinter::GetCurrent()
{
    if (!m_pInst)
        m_pInst = CreateDefaultInstance();
    return *m_pInst;
}

char const* SourceCodePrinter::NameOf(Info& info)
{
    return info.GetNameText();
}

// ---- joining children

void SourceCodePrinter::PrintChilds(Info& info, Str& out, Str const& separator, bool trailing)
{
    bool printed = false;
    for (int i = 0; i < info.GetChildCount(); ++i) {
        Info* child = info.GetChild(i);
        if (!child)
            continue;
        if (printed)
            out += separator;
        out += child->AsString();
        printed = true;
    }
    if (printed && trailing)
        out += separator;
}

void SourceCodePrinter::PrintIsA(Info& info, Str& out, Str const& separator, bool trailing)
{
    bool printed = false;
    for (int i = 0; i < info.m_IsA.GetCount(); ++i) {
        Info* base = info.m_IsA[i];
        if (!base)
            continue;
        if (printed)
            out += separator;
        out += base->AsString();
        printed = true;
    }
    if (printed && trailing)
        out += separator;
}

void SourceCodePrinter::PrintChild(Info& info, Str& out, int index)
{
    if (index < 0 || index >= info.GetChildCount())
        return;
    Info* child = info.GetChild(index);
    if (!child)
        out += "<NULL>";
    else
        Print(*child, out);
}

// ---- the base printer

void SourceCodePrinter::Print(Info& info, Str& out)
{
    out += info.AsString();
}

void SourceCodePrinter::Print(FuncInfo& info, Str& out)
{
    PrintSignature(info, out);
    if (m_pConfig->m_bPrintBodies)
        PrintChild(info, out, 2);
    out += ";";
}

void SourceCodePrinter::PrintSignature(FuncInfo& info, Str& out)
{
    bool omit = m_pConfig->m_bOmitVarNames;
    m_pConfig->m_bOmitVarNames = true;
    if (TypeInfo* type = info.GetType()) {
        Print(*type, out);
        out += " ";
    }
    out += NameOf(info);
    PrintChild(info, out, 1);
    m_pConfig->m_bOmitVarNames = omit;
}

void SourceCodePrinter::Print(ClassInfo& info, Str& out)
{
    out += "class ";
    out += NameOf(info);
    out += "{\n";
    PrintChilds(info, out);
    out += "};\n";
}

void SourceCodePrinter::PrintChilds(ClassInfo& info, Str& out)
{
    PrintChilds(info, out, m_pConfig->m_MemberSeparator, true);
}

void SourceCodePrinter::Print(NSInfo& info, Str& out)
{
    PrintChilds(info, out, m_pConfig->m_MemberSeparator, true);
}

void SourceCodePrinter::Print(ParamListInfo& info, Str& out)
{
    out += "(";
    PrintChilds(info, out, m_pConfig->m_ParamSeparator, false);
    out += ")";
}

void SourceCodePrinter::Print(FuncBodyInfo& info, Str& out)
{
    out += "{\n";
    out += info.GetText();
    out += "}";
}

void SourceCodePrinter::Print(MemberVarInfo& info, Str& out)
{
    Print(static_cast<MemberInfo&>(info), out);
    PrintChilds(info, out, Str(" "), false);
    out += " ";
    out += NameOf(info);
    out += ";";
}

void SourceCodePrinter::Print(BaseClassInfo& info, Str& out)
{
    out += NameOf(info);
}

void SourceCodePrinter::Print(MemberInfo& info, Str& out)
{
    out += "<";
    out += ConvertAccessTypeToString(info.GetAccess());
    out += "> ";
}

void SourceCodePrinter::Print(LocalVarInfo& info, Str& out)
{
    PrintChilds(info, out, Str(" "), false);
    // An unnamed parameter prints its type alone.
    if (!m_pConfig->m_bOmitVarNames && info.GetName() != Info::Unnamed()) {
        out += " ";
        out += NameOf(info);
    }
}

void SourceCodePrinter::Print(TypeInfo& info, Str& out)
{
    if (info.m_bStatic)
        out += "static ";
    if (info.m_bVirtual)
        out += "virtual ";
    if (info.m_bConst)
        out += "const ";
    if (info.GetName() != Info::Unnamed())
        out += NameOf(info);
    if (info.m_Indirection == TypeInfo::POINTER)
        out += "*";
    else if (info.m_Indirection == TypeInfo::REFERENCE)
        out += "&";
    else if (info.m_Indirection == TypeInfo::RVALUE_REFERENCE)
        out += "&&";
}

// ---- C++

void CppCodePrinter::Print(FuncInfo& info, Str& out)
{
    Print(static_cast<MemberInfo&>(info), out);
    if (Info* type = info.GetChild(0)) {
        Print(*type, out);
        out += " ";
    }
    out += NameOf(info);
    PrintChild(info, out, 1);
    if (m_pConfig->m_bPrintBodies)
        PrintChild(info, out, 2);
    else
        out += ";";
}

void CppCodePrinter::Print(ClassInfo& info, Str& out)
{
    out += "class ";
    out += NameOf(info);
    if (info.m_IsA.GetCount() > 0) {
        out += " : ";
        PrintIsA(info, out, m_pConfig->m_BaseSeparator, false);
    }
    out += "{\n";
    PrintChilds(info, out, m_pConfig->m_MemberSeparator, true);
    out += "};\n";
}

void CppCodePrinter::Print(BaseClassInfo& info, Str& out)
{
    out += "public ";
    out += NameOf(info);
}

void CppCodePrinter::Print(MemberInfo& info, Str& out)
{
    out += ConvertAccessTypeToString(info.GetAccess());
    out += ": ";
}

// ---- C

void CCodePrinter::Print(FuncInfo& info, Str& out)
{
    PrintChild(info, out, 0);
    out += " ";
    out += NameOf(info);
    PrintChild(info, out, 1);
    PrintChild(info, out, 2);
    out += ";";
}

void CCodePrinter::Print(ClassInfo& info, Str& out)
{
    out += "//generated from class ";
    out += NameOf(info);
    out += "{\n";
    PrintChilds(info, out, m_pConfig->m_MemberSeparator, true);
}

void CCodePrinter::Print(FuncBodyInfo& info, Str& out)
{
    out += "{\n";
    PrintChilds(info, out, Str(""), false);
    out += "}";
}

void CInterfaceCreator::Print(FuncBodyInfo& info, Str& out)
{
    FuncInfo* func = info.GetFunc();
    Info* owner = func ? func->GetParent() : nullptr;
    ClassInfo* cls = owner ? owner->GetClassInfo() : nullptr;
    if (!cls) {
        CCodePrinter::Print(info, out);
        return;
    }
    out += "{\n";
    out += "\treturn ";
    out += NameOf(*cls);
    out += "::";
    out += NameOf(*func);
    out += "(";
    out += "TODO: params";
    out += ");";
    PrintChilds(info, out, Str(""), false);
    out += "}";
}

// ---- HTML

void HtmlCodePrinter::Print(ClassInfo& info, Str& out)
{
    if (info.m_IsA.GetCount() > 0) {
        out += " Base ";
        PrintIsA(info, out, m_pConfig->m_BaseSeparator, false);
    }
    out += "<br /><br />";
    PrintBold("Members: ", out);
    out += "<br />";
    PrintChilds(info, out, m_pConfig->m_MemberSeparator, true);
}

void HtmlCodePrinter::PrintBold(char const* text, Str& out)
{
    out += "<b>";
    out += text;
    out += "</b>";
}

void HtmlCodePrinter::PrintHeading(int level, Str const& text, Str& out)
{
    char digit = static_cast<char>('0' + level);
    out += "<h";
    out += digit;
    out += ">";
    out += text;
    out += "</h";
    out += digit;
    out += ">";
}
