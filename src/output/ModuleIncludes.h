// The names that a transformation unit (or a class decorator) includes in
// its header, includes in its implementation file, and declares forward in
// its header. The names are module names; they become file names only when
// the include lines are written.
#pragma once

#include "base/Map.h"
#include "base/Str.h"
#include "base/StringArray.h"

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
    // The include lines of the names (nothing without a layer stack).
    void WriteIncludes(OutFile& file, StringArray const& names);
    // Header includes, the namespace opening, the forward declarations.
    void WriteHeaderIncludes(OutFile& file);
    // Implementation includes, the "using namespace" line.
    void WriteCppIncludes(OutFile& file);
    // The generated declaration file name of a composed class, else the
    // name unchanged.
    Str GetHeaderName(Str const& name);

    StringArray m_HeaderIncludes;
    StringArray m_CppIncludes;
    StringArray m_Forwards;
    LayerStack* m_pLayerStack;
};
