// What the composition asks of the code generation: the transformation and
// writing of the composed classes, the files generated for the whole
// product line, and the facts about output files that the run's decisions
// need. The output layer implements it and main.cpp installs it, so that
// the composition depends on no output code.
#pragma once

#include "base/Map.h"
#include "base/Str.h"
#include "base/StringArray.h"

class FOPModule;
class LayerStack;
class TransformationUnit;
class TransformedModule;

class CodeGenerator {
public:
    virtual ~CodeGenerator() = default;

    // The installed generator; a run without one is a fault of the program.
    static CodeGenerator& Get();
    static void Install(CodeGenerator* generator);

    // The run.
    // Finds the code templates beside the program.
    virtual void InitTemplates(Str const& programPath) = 0;
    // The path is a source of the run (a module or an appended file), which
    // no output may overwrite or remove.
    virtual bool IsSourcePath(Str const& path) = 0;
    // The names of the classes generated for the product line.
    virtual void GetGeneratedClassNames(StringArray& names) = 0;
    // Writes the product line's feature classes.
    virtual void GenerateFeatureClasses(LayerStack& stack) = 0;
    // Some output file of the run got other content than it had.
    virtual bool HasChangedOutput() = 0;
    virtual void CloseRemainingOpenFiles() = 0;
    // Adds the module's transformed methods and extensions to the counts.
    virtual void CountMethods(FOPModule& module, int& methods, int& inlinedMethods, int& extensions,
                              int& inlinedExtensions) = 0;

    // The composed classes that the module's outputs name: after the class
    // in code that leaves the header (other), else as a pointer, reference
    // or declaration only (forward) or otherwise (include). Reports the
    // faults of the code after the class the first time it is cut up.
    virtual void GetUsedClasses(FOPModule& module, StringSet& other, StringSet& forward, StringSet& include) = 0;

    // A composed class.
    virtual TransformationUnit* CreateTransformationUnit(TransformedModule& cls) = 0;
    virtual void TransformModules(TransformedModule& cls) = 0;
    virtual void AddSplPtr(TransformedModule& cls) = 0;
    virtual void OpenOutputFiles(TransformedModule& cls) = 0;
    virtual void SaveModules(TransformedModule& cls) = 0;
    virtual void CloseModules(TransformedModule& cls) = 0;
    // After a run that wrote the class: gives each output whose content did
    // not change its earlier time back ("no changes found"), unless the
    // class depends on a changed module.
    virtual void KeepUnchangedOutputTimes(TransformedModule& cls) = 0;
};
