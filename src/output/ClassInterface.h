// The interface and decorator header of a class composed per binding unit:
// collects the interface methods, hooks and composed base classes that the
// transformations of the class's modules report, fills the template
// "DelegationInterface" with them and writes "<Class>.h" with the class's
// header includes where the template holds "<INCLUDES>".
#pragma once

#include "base/Str.h"
#include "base/StringArray.h"
#include "output/ModuleIncludes.h"

#include <cstddef>

class Templates;
class TransformedModule;

class ClassInterface {
public:
    // Class interfaces live until the end of the run. Allocating them here
    // names them for the leak checker, which is told to let them be.
    static void* operator new(std::size_t size) { return ::operator new(size); }
    static void operator delete(void* p) { ::operator delete(p); }

    explicit ClassInterface(TransformedModule& cls);
    ClassInterface(ClassInterface const&) = delete;
    ClassInterface& operator=(ClassInterface const&) = delete;

    void SetName(Str const& name) { m_ClassName = name; }
    // Appends a tab, the method's text and a line feed.
    void AddInterfaceMethod(char const* text);
    // Records a composed base class; a name recorded before keeps its first
    // access word. The head names the base by text when given (template
    // arguments and all), else by its name.
    void AddBaseClass(char const* access, char const* name, char const* text = nullptr);
    // Records an include line of a module (its text from `#include` on); the
    // interface header repeats each once, so that the types its methods name
    // are known.
    void AddModuleInclude(char const* line);
    // Records a type declared inside a module's class (its text and the
    // access it had there); the interface declares it ahead of its methods,
    // once, so that they and the classes of every unit can name it.
    void AddNestedType(char const* access, char const* text);
    // Fills m_Text from the template.
    void CreateInterface();
    // CreateInterface, then writes the header at path.
    void SaveDecoratorAndInterface(Str const& path);

    // The first recorded base whose class is composed per binding unit;
    // empty when none.
    Str GetDelegatingBase();

    TransformedModule* m_pClass;
    Templates* m_pTemplates;
    Str m_Text;
    Str m_InterfaceMethods;
    Str m_DecoratorMethods;
    Str m_ClassName;
    ModuleIncludes m_Includes;
    StringArray m_BaseDecls;
    StringArray m_BaseNames;
    StringArray m_ModuleIncludes;
    StringArray m_NestedTypes;
    Str m_NestedTypeText;
};
