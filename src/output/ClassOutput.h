// The output side of a composed class: the transformation of its modules
// unit by unit, the code added to its members (the product-line pointer),
// its interface and decorator generator, and the writing of its outputs.
// The composed class keeps it as its generator state. The output files of
// all classes are kept together, by path.
#pragma once

#include "base/Map.h"
#include "base/Str.h"
#include "base/StringArray.h"
#include "compose/GeneratorState.h"

class ClassInterface;
class ModuleIncludes;
class OutFile;
class OutFileList;
class TransformedModule;

class ClassOutput : public GeneratorState {
public:
    explicit ClassOutput(TransformedModule& cls);
    ~ClassOutput() override;

    // The class's output side, made on first use.
    static ClassOutput& Of(TransformedModule& cls);

    // Transformation: every unit begins, then every module is transformed.
    void TransformModules();
    // Gives a purely jampack-composed class the product-line pointer, its
    // accessors and, without a constructor of its own, constructors taking
    // the product line.
    void AddSplPtr();
    Str const& GetAddedMemberCode() const { return m_AddedMemberCode; }

    // Writing.
    void OpenOutputFiles();
    void SaveModules();
    void CloseModules();
    void WriteDecorator();
    void GetIncludesAndForwards(ModuleIncludes& includes);
    int GetLocWritten();

    // The interface generator, and the signatures of its methods so far.
    void AddBaseClass(char const* access, char const* name, char const* text = nullptr);
    void AddInterfaceMethod(char const* text);
    ClassInterface* GetInterface() const { return m_pInterface; }
    StringSet& GetInterfaceSignatures() { return m_InterfaceSignatures; }
    StringArray* GetDecoratorIncludes();

    // The output files of all classes.
    static OutFile* GetOutFile(char const* path);
    static void CloseRemainingOpenFiles();
    static OutFileList& GetAllFiles();

private:
    TransformedModule& m_Class;
    Str m_AddedMemberCode;
    // The interface and decorator generator (owned).
    ClassInterface* m_pInterface;
    StringSet m_InterfaceSignatures;
};
