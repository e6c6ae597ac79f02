#include "output/ClassOutput.h"

#include "compose/FOPModule.h"
#include "compose/LayerStack.h"
#include "compose/TransformedModule.h"
#include "output/ClassInterface.h"
#include "output/CombinedTransform.h"
#include "output/ModuleIncludes.h"
#include "output/ModuleOutput.h"
#include "output/ModuleTransform.h"
#include "output/OutFile.h"
#include "parser/ClassDB.h"
#include "parser/Info.h"
#include "parser/NodeFuncDecl.h"
#include "parser/SimpleTU.h"

namespace {

OutFileList& AllFiles()
{
    static OutFileList files;
    return files;
}

// The class's units as the code generator made them.
ModuleTransform& Unit(TransformedModule& cls, int i)
{
    return *static_cast<ModuleTransform*>(cls.GetTransformations()[i]);
}

} // namespace

ClassOutput::ClassOutput(TransformedModule& cls) : m_Class(cls), m_pInterface(new ClassInterface(cls))
{
    m_pInterface->SetName(cls.GetName());
}

ClassOutput::~ClassOutput()
{
    delete m_pInterface;
}

ClassOutput& ClassOutput::Of(TransformedModule& cls)
{
    if (!cls.GetGeneratorState())
        cls.SetGeneratorState(new ClassOutput(cls));
    return static_cast<ClassOutput&>(*cls.GetGeneratorState());
}

void ClassOutput::TransformModules()
{
    int units = m_Class.GetTransformations().GetCount();
    for (int i = 0; i < units; ++i)
        Unit(m_Class, i).BeginTransform();
    Array<FOPModule*>& modules = m_Class.GetModules();
    for (int i = 0; i < modules.GetCount(); ++i)
        ModuleOutput::Of(*modules[i]).Transform();
}

void ClassOutput::AddSplPtr()
{
    FOPModule* first = m_Class.GetFirstModule();
    if (!m_Class.IsPureJampack() || !first)
        return;
    // The product-line interface bears the product-line name.
    Str spl = m_Class.GetLayerStack()->m_ProductLineName;
    Str cls = first->GetClassName();
    Str code = CombinedTransform::GetSplPtrCode(spl, cls);
    auto& unit = static_cast<JampackModuleTransform&>(Unit(m_Class, 0));
    ModuleIncludes::AddInclude(unit.GetIncludes()->m_HeaderIncludes, spl);
    m_AddedMemberCode += "\n";
    m_AddedMemberCode += code;
    // The class is made with the product line, `new X(spl)`: without a
    // constructor of its own it gets one that takes it, and a default one.
    Array<FOPModule*>& modules = m_Class.GetModules();
    for (int i = 0; i < modules.GetCount(); ++i) {
        SimpleTU* tu = modules[i]->GetParseUnit();
        for (int k = 0; tu && k < tu->db()->m_FuncDecls.GetCount(); ++k) {
            FuncInfo* info = tu->db()->m_FuncDecls[k]->GetInfo();
            if (info && info->IsConstructor())
                return;
        }
    }
    Str ctors;
    ctors.Format("\n\t%s() : __SPL_PTR(0) {}\n\t%s(%s& spl) : __SPL_PTR(&spl) {}", cls.GetBuffer(), cls.GetBuffer(),
                 spl.GetBuffer());
    m_AddedMemberCode += ctors;
}

void ClassOutput::OpenOutputFiles()
{
    for (int i = 0; i < m_Class.GetTransformations().GetCount(); ++i)
        Unit(m_Class, i).OpenFiles();
}

void ClassOutput::SaveModules()
{
    Array<FOPModule*>& modules = m_Class.GetModules();
    for (int i = 0; i < modules.GetCount(); ++i)
        ModuleOutput::Of(*modules[i]).Save();
}

void ClassOutput::CloseModules()
{
    WriteDecorator();
    int units = m_Class.GetTransformations().GetCount();
    for (int i = 0; i < units; ++i)
        Unit(m_Class, i).BeginCloseFiles();
    for (int i = 0; i < units; ++i)
        Unit(m_Class, i).CloseFiles();
    for (int i = 0; i < units; ++i)
        Unit(m_Class, i).EndCloseFiles();
}

void ClassOutput::WriteDecorator()
{
    FOPModule* first = m_Class.GetFirstModule();
    if (!m_Class.HasDynamicDelegation() || !first || !first->GetMainClass() || !m_Class.HasOutDir())
        return;
    m_pInterface->SaveDecoratorAndInterface(m_Class.GetDestDir() + m_Class.GetName() + ".h");
}

void ClassOutput::GetIncludesAndForwards(ModuleIncludes& includes)
{
    for (int i = 0; i < m_Class.GetTransformations().GetCount(); ++i)
        Unit(m_Class, i).GetIncludesAndForwards(includes);
}

int ClassOutput::GetLocWritten()
{
    int lines = 0;
    for (int i = 0; i < m_Class.GetTransformations().GetCount(); ++i)
        lines += Unit(m_Class, i).GetLocWritten();
    return lines;
}

void ClassOutput::AddBaseClass(char const* access, char const* name, char const* text)
{
    m_pInterface->AddBaseClass(access, name, text);
}

void ClassOutput::AddInterfaceMethod(char const* text)
{
    m_pInterface->AddInterfaceMethod(text);
}

StringArray* ClassOutput::GetDecoratorIncludes()
{
    return &m_pInterface->m_Includes.m_HeaderIncludes;
}

OutFile* ClassOutput::GetOutFile(char const* path)
{
    return AllFiles().GetFileObject(path);
}

void ClassOutput::CloseRemainingOpenFiles()
{
    AllFiles().CloseAll();
}

OutFileList& ClassOutput::GetAllFiles()
{
    return AllFiles();
}
