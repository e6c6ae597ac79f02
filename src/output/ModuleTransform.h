// Transformation units: the output side of a composed class. A unit holds
// the modules whose text goes into one declaration file (and, for C++, one
// implementation file), names and opens these files, writes their frame
// (guard, includes, namespace, forward declarations, class head and end)
// and closes them; the code writers put in the modules' bodies. A purely
// jampack-composed class has one unit; a class composed per binding unit has
// one unit per binding unit, each writing its own delegation object.
#pragma once

#include "base/Array.h"
#include "base/Str.h"
#include "output/ModuleIncludes.h"

#include <cstddef>
#include <new>
#include <unordered_map>

class FOPModule;
class FuncInfo;
class OutFile;
class TransformedModule;

class ModuleTransform {
public:
    // Transformation units live with their composed class until the end of
    // the run. Allocating them here names them for the leak checker, which
    // is told to let them be.
    static void* operator new(std::size_t size) { return ::operator new(size); }
    static void operator delete(void* p) { ::operator delete(p); }

    explicit ModuleTransform(TransformedModule& cls);
    ModuleTransform(ModuleTransform const&) = delete;
    ModuleTransform& operator=(ModuleTransform const&) = delete;

    virtual void BeginCloseFiles() {}
    virtual void EndCloseFiles() {}
    virtual void BeginTransform() {}
    virtual FOPModule* GetFirstTransformationModule();
    virtual FOPModule* GetLastTransformationModule();
    virtual void CloseDeclFile(OutFile& file) = 0;
    virtual bool IsJampackTransformation() = 0;
    virtual void InitOutFile(OutFile& file);
    virtual void InitCpp(OutFile& file) = 0;

    // Appends the module and makes this unit its transformation unit.
    FOPModule* AddModule(FOPModule* module);
    // Inserts mixin at module's place (module moves up); nothing when module
    // is not in the unit. False then.
    bool InsertAbove(FOPModule& module, FOPModule& mixin);
    void SetBindingUnitName(char const* name);
    Str const& GetBindingUnitName() const { return m_BindingUnitName; }
    Str const& GetName() const { return m_Name; }
    // True when the class database of a module of the unit holds the function.
    bool HasMethod(FuncInfo& func);
    // The highest function of the chain of refinements up from f whose
    // every link lies in the unit; f itself when the next one does not.
    // Known after parsing: the answers are kept.
    FuncInfo* GetTopRefining(FuncInfo& f);
    bool IsCppTransform();
    bool HasCppCode();

    Str GetDestDir();
    Str GetDeclFilePath();
    OutFile* GetDeclFile();
    OutFile* GetImplFile();

    void OpenFiles();
    void OnOpenFile(OutFile& file);
    void CloseFiles();
    void CloseFile(OutFile& file);
    bool HasOutputChanged(bool decl);
    int GetLocWritten();
    void GetIncludesAndForwards(ModuleIncludes& includes);

    // Modules whose code after the class goes into the declaration file
    // (units without a separate implementation file): written after the
    // class end when the declaration file is closed.
    void AddTrailingCodeModule(FOPModule& module);

    TransformedModule* m_pTransformedModule;
    Array<FOPModule*> m_Modules;
    Array<OutFile*> m_Files;
    Str m_Name;
    Str m_BindingUnitName;
    Array<FOPModule*> m_TrailingCodeModules;

protected:
    bool IsOnFileList(OutFile& file);

private:
    // GetTopRefining's answers; emptied when a module joins the unit.
    std::unordered_map<FuncInfo*, FuncInfo*> m_TopRefining;
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
