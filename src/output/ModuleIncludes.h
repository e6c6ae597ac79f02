// The names that a transformation unit (or a class decorator) includes in
// its header, includes in its implementation file, and declares forward in
// its header. The names are module names; they become file names only when
// the include lines are written.
#pragma once

#include "base/Array.h"
#include "base/Map.h"
#include "base/Str.h"
#include "base/StringArray.h"

class FOPModule;
class LayerStack;
class OutFile;

class ModuleIncludes {
public:
    ModuleIncludes() : m_pLayerStack(nullptr) {}
    ModuleIncludes(ModuleIncludes const&) = delete;
    ModuleIncludes& operator=(ModuleIncludes const&) = delete;

    // Appends the name unless the list holds it already.
    static void AddInclude(StringArray& list, char const* name);
    // Sorts used class names into the three lists: include → header
    // includes; forward (not also included) → forwards and implementation
    // includes; other (neither) → implementation includes.
    void InitIncludesAndForwards(StringSet& other, StringSet& forward, StringSet& include, LayerStack& stack);
    // Moves into include the names of forward whose complete class the code
    // inside the class bodies of the modules needs (that code is written
    // into the header): the class named there other than as a pointer or
    // reference, or a member used through a variable, parameter or member
    // declared as a pointer or reference to it.
    static void AddInlineUses(Array<FOPModule*> const& modules, StringSet& forward, StringSet& include);
    // The include lines of the names (nothing without a layer stack).
    void WriteIncludes(OutFile& file, StringArray const& names);
    // Header includes, the namespace opening, the forward declarations. A
    // composed class is declared in its namespace with its own class key
    // (and template head).
    void WriteHeaderIncludes(OutFile& file);
    // Implementation includes, the "using namespace" line.
    void WriteCppIncludes(OutFile& file);
    // The forward declaration of the name (a line without its line break);
    // empty for a composed class whose declaration is not known.
    Str GetForwardDeclaration(Str const& name);
    // The generated declaration file name of a composed class, else the
    // name unchanged.
    Str GetHeaderName(Str const& name);

    StringArray m_HeaderIncludes;
    StringArray m_CppIncludes;
    StringArray m_Forwards;
    LayerStack* m_pLayerStack;
};
