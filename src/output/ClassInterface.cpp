#include "output/ClassInterface.h"

#include "compose/EquationFile.h"
#include "compose/FOPModule.h"
#include "compose/LayerStack.h"
#include "compose/TransformedModule.h"
#include "output/ClassOutput.h"
#include "output/CppFile.h"
#include "output/DecoratorTransform.h"
#include "output/OutFile.h"
#include "output/Templates.h"

#include <cstring>

ClassInterface::ClassInterface(TransformedModule& cls) : m_pClass(&cls), m_pTemplates(Templates::GetInstance())
{
    m_Includes.m_pLayerStack = cls.GetLayerStack();
}

void ClassInterface::AddInterfaceMethod(char const* text)
{
    m_InterfaceMethods += "\t";
    m_InterfaceMethods += text ? text : "";
    m_InterfaceMethods += "\n";
}

void ClassInterface::AddBaseClass(char const* access, char const* name, char const* text)
{
    if (!name || !*name)
        return;
    // Every module that names the base reports it: one entry per name.
    for (int i = 0; i < m_BaseNames.GetCount(); ++i)
        if (m_BaseNames[i] == name)
            return;
    m_BaseNames.Add(name);
    Str decl(access ? access : "public");
    decl += " ";
    decl += text && *text ? text : name;
    m_BaseDecls.Add(decl);
}

void ClassInterface::AddModuleInclude(char const* line)
{
    if (!line || !*line)
        return;
    for (int i = 0; i < m_ModuleIncludes.GetCount(); ++i)
        if (m_ModuleIncludes[i] == line)
            return;
    m_ModuleIncludes.Add(line);
}

void ClassInterface::AddNestedType(char const* access, char const* text)
{
    if (!text || !*text)
        return;
    for (int i = 0; i < m_NestedTypes.GetCount(); ++i)
        if (m_NestedTypes[i] == text)
            return;
    m_NestedTypes.Add(text);
    m_NestedTypeText += Str(access) + ":\n\t" + text + "\n";
}

Str ClassInterface::GetDelegatingBase()
{
    LayerStack* stack = m_pClass->GetLayerStack();
    for (int i = 0; stack && i < m_BaseNames.GetCount(); ++i) {
        TransformedModule* base = stack->GetModule(m_BaseNames[i]);
        if (base && !base->IsPureJampack())
            return m_BaseNames[i];
    }
    return Str();
}

void ClassInterface::CreateInterface()
{
    // Works on copies: the recorded bases stay as they are for a second call.
    StringArray names;
    StringArray decls;
    for (int i = 0; i < m_BaseNames.GetCount(); ++i) {
        names.Add(m_BaseNames[i]);
        decls.Add(m_BaseDecls[i]);
    }
    Str delegating = GetDelegatingBase();
    m_Text = m_pTemplates->GetTemplate("DelegationInterface");
    if (!delegating.IsEmpty()) {
        m_Text.Replace("//<IF_BASE>", "");
        m_Text.Replace("<BASE_NAME>", delegating);
    } else {
        m_Text.Replace("//<IF_!BASE>", "");
    }
    LayerStack* stack = m_pClass->GetLayerStack();
    bool runtimeAdapt = stack && stack->m_pEquation && stack->m_pEquation->m_bRuntimeAdapt;
    m_Text.Replace("<IF_STORE_OBJECTS>", runtimeAdapt ? "" : "//<IF_STORE_OBJECTS>");
    if (delegating.IsEmpty()) {
        names.Add("Class");
        decls.Add("public Class");
    }
    Str bases;
    for (int i = 0; i < decls.GetCount(); ++i) {
        bases += i == 0 ? ": " : ", ";
        bases += decls[i];
    }
    // The product-line interface bears the product-line name.
    Str spl = stack ? stack->m_ProductLineName : Str();
    names.InsertAt(0, spl);
    // std::abort, which a forwarder calls when there is no object below.
    Str includes(std::strstr(m_InterfaceMethods.GetBuffer(), "std::abort") ? "#include <cstdlib>\n" : "");
    for (int i = 0; i < m_ModuleIncludes.GetCount(); ++i)
        includes += m_ModuleIncludes[i] + "\n";
    for (int i = 0; i < names.GetCount(); ++i)
        includes += "#include \"" + names[i] + ".h\"\n";
    m_Text.Replace("<CLASS_NAME>", m_ClassName);
    m_Text.Replace("<BASE_CLASSES>", bases);
    m_Text.Replace("<INCLUDES>", includes + "<INCLUDES>");
    m_Text.Replace("<INTERFACE_NAME>", m_ClassName);
    Str members = m_InterfaceMethods;
    if (!m_NestedTypeText.IsEmpty())
        members = m_NestedTypeText + "public:\n" + members;
    m_Text.Replace("<INTERFACE_METHODS>", members);
    m_Text.Replace("<LAYER_INTERFACE_NAME>", spl);
    m_Text.Replace("<DECORATOR_NAME>", DecoratorTransform::GetDecoratorName(m_ClassName));
    m_Text.Replace("<INTERFACE_NAME>", m_ClassName);
    m_Text.Replace("<DECORATOR_METHODS>", m_DecoratorMethods);
}

void ClassInterface::SaveDecoratorAndInterface(Str const& path)
{
    CreateInterface();
    OutFile file(path);
    CppFile frame(&file);
    frame.BeginGuard();
    char const* text = m_Text.GetBuffer();
    char const* marker = std::strstr(text, "<INCLUDES>");
    Str before;
    if (marker)
        before.SetData(text, static_cast<size_t>(marker - text));
    else
        before = m_Text;
    file.SaveString(before);
    ClassOutput::Of(*m_pClass).GetIncludesAndForwards(m_Includes);
    m_Includes.WriteHeaderIncludes(file);
    // The interface and decorator belong to the namespace of the class.
    FOPModule* first = m_pClass->GetFirstModule();
    bool inSpace = first && !DecoratorTransform::GetNameSpace(*first).IsEmpty();
    if (inSpace)
        file.SaveString(first->GetNameSpaceOpenText());
    if (marker)
        file.SaveString(marker + std::strlen("<INCLUDES>"));
    if (inSpace)
        file.SaveString(first->GetNameSpaceCloseText() + "\n");
    frame.EndGuard();
    file.Close();
}
