#include "output/ModuleIncludes.h"

#include "compose/FOPModule.h"
#include "compose/LayerStack.h"
#include "compose/TransformedModule.h"
#include "output/CppFile.h"

void ModuleIncludes::AddInclude(StringArray& list, char const* name)
{
    if (!name)
        return;
    for (int i = 0; i < list.GetCount(); ++i)
        if (list[i] == name)
            return;
    list.Add(name);
}

void ModuleIncludes::InitIncludesAndForwards(StringSet& other, StringSet& forward, StringSet& include, LayerStack& stack)
{
    m_pLayerStack = &stack;
    for (StringSet::HashNode* node = include.GetFirst(); node; node = include.GetNext(node)) {
        m_HeaderIncludes.Add(node->GetKey());
        forward.Remove(node->GetKey());
    }
    for (StringSet::HashNode* node = forward.GetFirst(); node; node = forward.GetNext(node)) {
        if (include.Contains(node->GetKey()))
            continue;
        m_Forwards.Add(node->GetKey());
        m_CppIncludes.Add(node->GetKey());
    }
    for (StringSet::HashNode* node = other.GetFirst(); node; node = other.GetNext(node)) {
        if (include.Contains(node->GetKey()) || forward.Contains(node->GetKey()))
            continue;
        m_CppIncludes.Add(node->GetKey());
    }
}

void ModuleIncludes::WriteIncludes(OutFile& file, StringArray const& names)
{
    if (!m_pLayerStack)
        return;
    StringArray fileNames;
    m_pLayerStack->GetFileNamesFromModuleNames(names, fileNames);
    CppFile frame(&file);
    for (int i = 0; i < fileNames.GetCount(); ++i) {
        Str header = GetHeaderName(fileNames[i]);
        // A composed class's header name carries its real extension (also
        // "H"), so it is included as it stands.
        if (header != fileNames[i])
            frame.IncludeFile(header);
        else
            frame.Include(header);
    }
}

void ModuleIncludes::WriteHeaderIncludes(OutFile& file)
{
    WriteIncludes(file, m_HeaderIncludes);
    CppFile frame(&file);
    frame.OpenNS();
    for (int i = 0; i < m_Forwards.GetCount(); ++i)
        frame.FwdDecl(m_Forwards[i]);
}

void ModuleIncludes::WriteCppIncludes(OutFile& file)
{
    WriteIncludes(file, m_CppIncludes);
    CppFile frame(&file);
    frame.UsingNS();
}

Str ModuleIncludes::GetHeaderName(Str const& name)
{
    if (m_pLayerStack) {
        TransformedModule* cls = m_pLayerStack->GetModule(name);
        if (cls && cls->m_pFirstModule)
            return cls->m_pFirstModule->GetGeneratedDeclFileName(name);
    }
    return name;
}
