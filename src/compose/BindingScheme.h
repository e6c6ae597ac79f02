// How a composed class is cut into transformation units: one unit when all
// its modules belong to one binding unit, else one unit per binding unit,
// each written as a delegation object of its own, dynamically delegated when
// one of them is loaded at run time. The units are chosen once, before the
// class is parsed; the code generator makes them.
#pragma once

#include "base/Array.h"

class FOPModule;
class TransformationUnit;
class TransformedModule;

class BindingScheme {
public:
    explicit BindingScheme(TransformedModule& cls) : m_Class(cls) {}

    // Chooses the units of the class's modules; a second call keeps them.
    void InitTransformation(Array<FOPModule*> const& modules);
    // One unit per binding unit of the modules.
    void InitDelegationTransformation(Array<FOPModule*> const& modules);
    TransformationUnit* AddTransformationModule(TransformationUnit* unit);
    // The unit of the binding unit; null when there is none.
    TransformationUnit* GetTransformationUnit(char const* bindingUnitName);
    // Neighbouring modules belong to different binding units.
    static bool HasMixedBinding(Array<FOPModule*> const& modules);
    // The class is composed in one jampack unit.
    bool IsPureJampack();
    // The class is composed per binding unit (once its units are chosen).
    bool IsPerUnit() const { return !m_bSingleBindingUnit && m_Transformations.GetCount() > 0; }

    Array<TransformationUnit*> m_Transformations;
    bool m_bSingleBindingUnit = false;
    bool m_bDynamicDelegation = false;

private:
    TransformedModule& m_Class;
};
