#include "output/ModuleTransform.h"

#include "base/OutputRecord.h"
#include "compose/FOPModule.h"
#include "compose/Layer.h"
#include "compose/Module.h"
#include "compose/TransformedModule.h"
#include "output/ClassOutput.h"
#include "output/CodeWriter.h"
#include "output/CppFile.h"
#include "output/ModuleOutput.h"
#include "output/OutFile.h"
#include "output/TrailingCode.h"

#include <unistd.h>


namespace {

// Records every module and appended file of the run as a source that no
// output file may overwrite; done again only when modules were added.
void RegisterSourceFiles()
{
    static int registered = -1;
    int count = Layer::m_AllModules.GetCount();
    if (count == registered)
        return;
    registered = count;
    // The layers' listings name most module files first, with what they
    // know of them; a path is entered once.
    Set<Layer*, Layer*> layers;
    StringSet added;
    added.SetIndexed();
    auto add = [&added](char const* path, bool regular) {
        if (!path || added.Contains(path))
            return;
        added.Add(path);
        OutFile::AddSourcePath(path, regular);
    };
    for (auto* node = Layer::m_AllModules.GetFirst(); node; node = Layer::m_AllModules.GetNext(node)) {
        FOPModule* module = node->GetValue();
        if (!module)
            continue;
        Layer* layer = module->GetLayer();
        if (layer && !layers.Contains(layer)) {
            layers.Add(layer);
            for (int i = 0; i < layer->m_ModuleFiles.GetCount(); ++i)
                add(layer->m_ModuleFiles[i], i < layer->m_ModuleRegular.GetCount() && layer->m_ModuleRegular[i]);
            for (int i = 0; i < layer->m_AppendSources.GetCount(); ++i)
                add(layer->m_AppendSources[i], false);
        }
        add(module->GetSourcePath(), false);
    }
}

} // namespace

ModuleTransform::ModuleTransform(TransformedModule& cls) : TransformationUnit(cls) {}

ModuleTransform* ModuleTransform::Of(FOPModule const& module)
{
    return static_cast<ModuleTransform*>(module.GetTransformationModule());
}

bool ModuleTransform::HasCppCode()
{
    for (int i = 0; i < m_Modules.GetCount(); ++i)
        if (ModuleOutput::Of(*m_Modules[i]).HasCppCode())
            return true;
    return false;
}

OutFile* ModuleTransform::GetDeclFile()
{
    Str path = GetDeclFilePath();
    if (path.IsEmpty())
        return nullptr;
    return ClassOutput::GetOutFile(path);
}

OutFile* ModuleTransform::GetImplFile()
{
    if (!IsCppTransform())
        return GetDeclFile();
    return ClassOutput::GetOutFile(m_Modules[0]->GetGeneratedImplFileName(GetDestDir() + m_Name));
}

void ModuleTransform::OpenFiles()
{
    RegisterSourceFiles();
    for (int i = 0; i < m_Modules.GetCount(); ++i)
        if (OutFile* file = ModuleOutput::Of(*m_Modules[i]).GetDeclFile())
            OnOpenFile(*file);
    if (IsCppTransform() && HasCppCode()) {
        for (int i = 0; i < m_Modules.GetCount(); ++i)
            if (OutFile* file = ModuleOutput::Of(*m_Modules[i]).GetImplFile())
                OnOpenFile(*file);
    } else if (IsCppTransform() && m_Modules.GetCount() > 0) {
        // No implementation output this time: the file of an earlier run
        // would still be compiled with the class's old code. Only a file the
        // tool wrote goes (a source file of the run standing there never).
        Str impl = m_Modules[0]->GetGeneratedImplFileName(GetDestDir() + m_Name);
        if (!impl.IsEmpty() && !OutFile::IsSourcePath(impl))
            OutputRecord::Remove(impl);
    }
}

bool ModuleTransform::IsOnFileList(OutFile& file)
{
    for (int i = 0; i < m_Files.GetCount(); ++i)
        if (m_Files[i] == &file)
            return true;
    return false;
}

void ModuleTransform::OnOpenFile(OutFile& file)
{
    if (!IsOnFileList(file))
        InitOutFile(file);
}

void ModuleTransform::InitOutFile(OutFile& file)
{
    if (!IsCppTransform()) {
        m_Files.Add(&file);
        return;
    }
    bool decl = Module::IsDeclFile(file.GetName());
    if (decl) {
        CppFile frame(&file);
        frame.BeginGuard(m_Name);
    }
    m_Files.Add(&file);
    if (!decl)
        InitCpp(file);
}

void ModuleTransform::CloseFiles()
{
    for (int i = 0; i < m_Files.GetCount(); ++i)
        CloseFile(*m_Files[i]);
}

void ModuleTransform::CloseFile(OutFile& file)
{
    if (IsCppTransform() && Module::IsImplFile(file.GetName())) {
        CppFile frame(&file);
        frame.CloseCpp();
    }
    if (Module::IsDeclFile(file.GetName()))
        CloseDeclFile(file);
    file.Close();
}

bool ModuleTransform::HasOutputChanged(bool decl)
{
    OutFile* file = decl ? GetDeclFile() : GetImplFile();
    return file && file->HasDataChanged();
}

int ModuleTransform::GetLocWritten()
{
    int sum = 0;
    for (int i = 0; i < m_Files.GetCount(); ++i)
        sum += m_Files[i]->GetLinesWritten();
    return sum;
}

void ModuleTransform::GetIncludesAndForwards(ModuleIncludes& includes)
{
    StringSet other, forward, include;
    for (int i = 0; i < m_Modules.GetCount(); ++i)
        ModuleOutput::Of(*m_Modules[i]).GetUsedClasses(other, forward, include);
    // Code inside the class is written into the header: a class whose
    // members it uses must be complete there.
    if (IsCppTransform())
        ModuleIncludes::AddInlineUses(m_Modules, forward, include);
    if (m_pTransformedModule->GetLayerStack())
        includes.InitIncludesAndForwards(other, forward, include, *m_pTransformedModule->GetLayerStack());
}

void ModuleTransform::AddTrailingCodeModule(FOPModule& module)
{
    for (int i = 0; i < m_TrailingCodeModules.GetCount(); ++i)
        if (m_TrailingCodeModules[i] == &module)
            return;
    m_TrailingCodeModules.Add(&module);
}

JampackModuleTransform::JampackModuleTransform(TransformedModule& cls) : ModuleTransform(cls) {}

void JampackModuleTransform::BeginTransform()
{
    if (!m_pTransformedModule->IsPureJampack() && m_Modules.GetCount())
        m_Name = m_Modules[0]->GetDelegationObjectName();
    InitFwdAndIncludes();
}

void JampackModuleTransform::InitFwdAndIncludes()
{
    // The implementation file includes its own header first.
    ModuleIncludes::AddInclude(m_Includes.m_CppIncludes, m_Name);
    GetIncludesAndForwards(m_Includes);
}

void JampackModuleTransform::InitOutFile(OutFile& file)
{
    ModuleTransform::InitOutFile(file);
    if (!Module::IsDeclFile(file.GetName()) || m_Modules.GetCount() == 0)
        return;
    for (int i = 0; i < m_Modules.GetCount(); ++i)
        ModuleOutput::Of(*m_Modules[i]).InitDeclFile(file);
    OnBeginClassDecl(file);
    ModuleOutput::Of(*m_Modules[0]).BeginClassDecl(file);
}

void JampackModuleTransform::OnBeginClassDecl(OutFile& file)
{
    TransformedModule* cls = m_pTransformedModule;
    for (int i = 0; i < m_Includes.m_HeaderIncludes.GetCount(); ++i)
        cls->GetDeclDependencyNames().Add(m_Includes.m_HeaderIncludes[i]);
    for (int i = 0; i < m_Includes.m_CppIncludes.GetCount(); ++i)
        cls->GetImplDependencyNames().Add(m_Includes.m_CppIncludes[i]);
    if (IsCppTransform())
        m_Includes.WriteHeaderIncludes(file);
}

void JampackModuleTransform::CloseDeclFile(OutFile& file)
{
    if (!file.IsOpened())
        return;
    if (m_Modules.GetCount())
        ModuleOutput::Of(*m_Modules[0]).CloseDeclFile(file);
    // Code after the class of modules without an implementation file of
    // their own follows the end of the class.
    for (int i = 0; i < m_TrailingCodeModules.GetCount(); ++i) {
        FOPModule& module = *m_TrailingCodeModules[i];
        bool ownImpl = ModuleOutput::Of(module).GetImplFile() != &file;
        CodeWriter::SaveTrailingCode(module, file, ownImpl ? TrailingCode::PLACE_HEADER : TrailingCode::PLACE_BOTH);
    }
    if (IsCppTransform()) {
        CppFile frame(&file);
        frame.EndGuard(m_Name);
        frame.CloseCpp();
    }
}

void JampackModuleTransform::InitCpp(OutFile& file)
{
    m_Includes.WriteCppIncludes(file);
}

void JampackModuleTransform::AddHeaderInclude(char const* name)
{
    ModuleIncludes::AddInclude(m_Includes.m_HeaderIncludes, name);
}

void JampackModuleTransform::AddHeaderFwd(char const* name)
{
    ModuleIncludes::AddInclude(m_Includes.m_Forwards, name);
}
