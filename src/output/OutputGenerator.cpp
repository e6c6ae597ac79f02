#include "output/OutputGenerator.h"

#include "base/ErrorLog.h"
#include "compose/TransformedModule.h"
#include "output/ClassOutput.h"
#include "output/FeatureFileNames.h"
#include "output/ModuleOutput.h"
#include "output/ModuleTransform.h"
#include "output/OutFile.h"
#include "output/PLFactory.h"
#include "output/Templates.h"

void OutputGenerator::InitTemplates(Str const& programPath)
{
    Templates::GetInstance()->InitTemplateFolder(programPath);
}

bool OutputGenerator::IsSourcePath(Str const& path)
{
    return OutFile::IsSourcePath(path);
}

void OutputGenerator::GetGeneratedClassNames(StringArray& names)
{
    PLFactory::GetClassNames(names);
}

void OutputGenerator::GenerateFeatureClasses(LayerStack& stack)
{
    FeatureFileNames::GenerateFeatureClasses(stack);
}

bool OutputGenerator::HasChangedOutput()
{
    return ClassOutput::GetAllFiles().HasChangedFile();
}

void OutputGenerator::CloseRemainingOpenFiles()
{
    ClassOutput::CloseRemainingOpenFiles();
}

void OutputGenerator::CountMethods(FOPModule& module, int& methods, int& inlinedMethods, int& extensions,
                                   int& inlinedExtensions)
{
    ModuleOutput::Of(module).GetTransformedFuncs().GetMethodCount(methods, inlinedMethods, extensions,
                                                                   inlinedExtensions);
}

void OutputGenerator::GetUsedClasses(FOPModule& module, StringSet& other, StringSet& forward, StringSet& include)
{
    ModuleOutput::Of(module).GetUsedClasses(other, forward, include);
}

TransformationUnit* OutputGenerator::CreateTransformationUnit(TransformedModule& cls)
{
    return new JampackModuleTransform(cls);
}

void OutputGenerator::TransformModules(TransformedModule& cls)
{
    ClassOutput::Of(cls).TransformModules();
}

void OutputGenerator::AddSplPtr(TransformedModule& cls)
{
    ClassOutput::Of(cls).AddSplPtr();
}

void OutputGenerator::OpenOutputFiles(TransformedModule& cls)
{
    ClassOutput::Of(cls).OpenOutputFiles();
}

void OutputGenerator::SaveModules(TransformedModule& cls)
{
    ClassOutput::Of(cls).SaveModules();
}

void OutputGenerator::CloseModules(TransformedModule& cls)
{
    ClassOutput::Of(cls).CloseModules();
}

void OutputGenerator::KeepUnchangedOutputTimes(TransformedModule& cls)
{
    ModuleOutput& first = ModuleOutput::Of(*cls.GetFirstModule());
    OutFile* decl = first.GetDeclFile();
    if (!decl || !decl->IsOpened())
        return;
    if (cls.HasOutputChanged(true) || cls.DependensOnChangedModule())
        return;
    ErrorLog::OnUserInfo("no changes found", decl->GetPath());
    decl->RestoreMTime();
    OutFile* impl = first.GetImplFile();
    if (impl && impl != decl && impl->GetPath() != decl->GetPath() && impl->IsOpened()
        && !cls.HasOutputChanged(false)) {
        ErrorLog::OnUserInfo("no changes found", impl->GetPath());
        impl->RestoreMTime();
    }
}
