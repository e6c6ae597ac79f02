// A transformation unit as the composition sees it: the modules of a
// composed class whose text goes into one declaration file (and, for C++,
// one implementation file), and the names of those files. A purely
// jampack-composed class has one unit; a class composed per binding unit has
// one per binding unit, each writing its own delegation object. The code
// generator makes the units (CodeGenerator::CreateTransformationUnit) and
// adds the files and their writing.
#pragma once

#include "base/Array.h"
#include "base/Str.h"

#include <unordered_map>

class FOPModule;
class FuncInfo;
class TransformedModule;

class TransformationUnit {
public:
    explicit TransformationUnit(TransformedModule& cls);
    virtual ~TransformationUnit() = default;
    TransformationUnit(TransformationUnit const&) = delete;
    TransformationUnit& operator=(TransformationUnit const&) = delete;

    virtual bool IsJampackTransformation() = 0;
    // The unit's output changed in this run (declaration or implementation).
    virtual bool HasOutputChanged(bool decl) = 0;

    virtual FOPModule* GetFirstTransformationModule();
    virtual FOPModule* GetLastTransformationModule();
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

    // The folder and the declaration file's path of the unit's outputs.
    Str GetDestDir();
    Str GetDeclFilePath();

    TransformedModule* m_pTransformedModule;
    Array<FOPModule*> m_Modules;
    Str m_Name;
    Str m_BindingUnitName;

private:
    // GetTopRefining's answers; emptied when a module joins the unit.
    std::unordered_map<FuncInfo*, FuncInfo*> m_TopRefining;
};
