// Transformation units: the output side of a composed class. A unit opens
// the files that its modules' text goes into (named by TransformationUnit),
// writes their frame (guard, includes, namespace, forward declarations,
// class head and end) and closes them; the code writers put in the modules'
// bodies. A purely
// jampack-composed class has one unit; a class composed per binding unit has
// one unit per binding unit, each writing its own delegation object.
#pragma once

#include "base/Array.h"
#include "base/Str.h"
#include "compose/TransformationUnit.h"
#include "output/ModuleIncludes.h"

#include <cstddef>
#include <new>

class FOPModule;
class OutFile;
class TransformedModule;

class ModuleTransform : public TransformationUnit {
public:
    // Transformation units live with their composed class until the end of
    // the run. Allocating them here names them for the leak checker, which
    // is told to let them be.
    static void* operator new(std::size_t size) { return ::operator new(size); }
    static void operator delete(void* p) { ::operator delete(p); }

    explicit ModuleTransform(TransformedModule& cls);

    // The module's unit as the code generator made it; null before the
    // class's units are chosen.
    static ModuleTransform* Of(FOPModule const& module);

    virtual void BeginCloseFiles() {}
    virtual void EndCloseFiles() {}
    virtual void BeginTransform() {}
    virtual void CloseDeclFile(OutFile& file) = 0;
    virtual void InitOutFile(OutFile& file);
    virtual void InitCpp(OutFile& file) = 0;

    bool HasCppCode();

    OutFile* GetDeclFile();
    OutFile* GetImplFile();

    void OpenFiles();
    void OnOpenFile(OutFile& file);
    void CloseFiles();
    void CloseFile(OutFile& file);
    bool HasOutputChanged(bool decl) override;
    int GetLocWritten();
    void GetIncludesAndForwards(ModuleIncludes& includes);

    // Modules whose code after the class goes into the declaration file
    // (units without a separate implementation file): written after the
    // class end when the declaration file is closed.
    void AddTrailingCodeModule(FOPModule& module);

    Array<OutFile*> m_Files;
    Array<FOPModule*> m_TrailingCodeModules;

protected:
    bool IsOnFileList(OutFile& file);
};

class JampackModuleTransform : public ModuleTransform {
public:
    explicit JampackModuleTransform(TransformedModule& cls);

    void BeginTransform() override;
    void CloseDeclFile(OutFile& file) override;
    bool IsJampackTransformation() override { return true; }
    void InitOutFile(OutFile& file) override;
    void InitCpp(OutFile& file) override;
    virtual void AddHeaderInclude(char const* name);
    virtual void AddHeaderFwd(char const* name);

    void InitFwdAndIncludes();
    void OnBeginClassDecl(OutFile& file);
    ModuleIncludes* GetIncludes() { return &m_Includes; }

    ModuleIncludes m_Includes;
};
