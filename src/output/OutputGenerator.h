// The code generator of this tool: turns the composed classes into C++ and
// Java-like output files, and writes the product line's generated classes.
// main.cpp installs it for the composition (CodeGenerator::Install).
#pragma once

#include "compose/CodeGenerator.h"

class OutputGenerator : public CodeGenerator {
public:
    void InitTemplates(Str const& programPath) override;
    bool IsSourcePath(Str const& path) override;
    void GetGeneratedClassNames(StringArray& names) override;
    void GenerateFeatureClasses(LayerStack& stack) override;
    bool HasChangedOutput() override;
    void CloseRemainingOpenFiles() override;
    void CountMethods(FOPModule& module, int& methods, int& inlinedMethods, int& extensions,
                      int& inlinedExtensions) override;
    void GetUsedClasses(FOPModule& module, StringSet& other, StringSet& forward, StringSet& include) override;

    TransformationUnit* CreateTransformationUnit(TransformedModule& cls) override;
    void TransformModules(TransformedModule& cls) override;
    void AddSplPtr(TransformedModule& cls) override;
    void OpenOutputFiles(TransformedModule& cls) override;
    void SaveModules(TransformedModule& cls) override;
    void CloseModules(TransformedModule& cls) override;
    void KeepUnchangedOutputTimes(TransformedModule& cls) override;
};
