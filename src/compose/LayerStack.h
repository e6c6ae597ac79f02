// The layer stack: the one object that holds a composition. It is the array
// of the layers, bottom layer first, and keeps the main equation, the source
// and output folders, the product-line name, the composed classes by module
// name, the open append files and the layer decorators. It sets up the
// folders and layers from the equation and runs the phases of a
// composition: parse, transform, save, restore or touch file times.
#pragma once

#include "base/Array.h"
#include "base/FileStat.h"
#include "base/Map.h"
#include "base/Str.h"
#include "base/StringArray.h"
#include "compose/GeneratorState.h"

#include <ctime>
#include <memory>

class AppendFile;
class EquationFile;
class FOPModule;
class Layer;
class LayerConfig;
class TransformedModule;

class LayerStack : public Array<Layer*, Layer* const&> {
public:
    LayerStack();
    LayerStack(LayerStack const&) = delete;
    LayerStack& operator=(LayerStack const&) = delete;
    // Deletes the layers, bottom first, then the equation (and with it the
    // layer configurations). The composed classes, the append files and the
    // decorators are not deleted.
    ~LayerStack() override;

    // Folders and layers.

    // The source and output folders (OutputFolder). Source folder (-s, else
    // the equation's folder) and output folder (-o, else
    // "<source>/.output.<name>"), which is named but not made; false, after
    // an error message, when the source folder cannot be entered or the
    // output folder is refused (IsSafeOutputFolder).
    bool InitDirectories();
    // Makes the -o folder with its parents, opens its output record with
    // this run's options and the XML log in it when it exists. False, after
    // an error message, when the folder cannot be made.
    bool OpenOutputFolder();
    // The options that shape the outputs, as the output record keeps them.
    Str GetOutputOptions() const;
    // One layer per equation entry, then the listing of every layer folder
    // (which may add derived layers); false, after an error, when a layer's
    // folder does not exist.
    bool InitLayers();
    // Creates a layer (parents null for an ordinary layer) and adds it.
    Layer* NewLayer(LayerConfig& config, Str const& folder, Set<Layer*, Layer*>* parents);
    // Puts the layer into the stack: a layer with two or more parents right
    // above its highest parent and above every derived layer made only of
    // its parents; any other layer at the top. Keeps m_pLayerBelow.
    void Add(Layer& layer);
    // The lowest layer whose full name, else plain name, equals the name.
    Layer* FindLayer(Str const& name);
    // The folder of a layer from its full name: "<source>/<name with / for
    // .>", a "<first part>.lnk" link beside the sources, or a family folder
    // under MOSAC_HOME.
    Str GetAbsLayerDir(Str name);
    // Compares two layer names part by part ("/"-separated) by the order of
    // their layers in the equation.
    int CompareLayerNames(Str const& a, Str const& b);
    // Adds the composed classes other than name that depend on it (and,
    // with recursive, those depending on them) and are not in result yet.
    void GetDependingFiles(Str const& name, Set<TransformedModule*, TransformedModule*>& result, bool recursive);

    // Derived layers and the layers' own equation files (DerivativeLayers).

    // A link named linkName in layer's folder pointing at folder: the layer
    // derived from layer's parents and the layer the link names. linkPath
    // is the link's, which the errors about the derived layer name.
    void AddDerivativeLayer(Layer& layer, Str const& folder, Str const& linkName, Str const& linkPath = Str());
    // The configuration of a derived layer, inserted into the equation
    // after its last parent; null when the layer exists already or no
    // parent is in the equation.
    LayerConfig* CreateDerivateConfig(StringSet& parentNames);
    // Composes the layers' equation files (-eq, -eqonly); false when the
    // equation extended by them cannot be set up.
    bool TransformEquationFiles();

    // The run.

    // Loads the equation ('\' read as '/') and sets up folders and layers;
    // false when that reported an error.
    bool LoadEquation(char const* path);
    // Takes the product-line name from the equation and sets up the folders
    // and the layers again; false, before the output folder is opened, when
    // an error was reported since the equation began to load.
    bool OnEquationChanged();
    // Every composed class prepares its transformation.
    void PrepareParse();
    // The newest modification time of the composed classes' main output
    // files; 0 when there is none.
    FileTimeNs GetLastTransformTime();
    // Parses what must be parsed and, with transform, transforms and saves;
    // false when a composed class failed to parse.
    bool Parse(bool transform);
    // Marks the classes used only as mixins: copied into the classes
    // that name them as mixins and named by no other class. Such a class is
    // not written on its own: its code may call what only its users have.
    void FindMixinOnlyClasses();
    void Transform();
    // Appends the layers' plain files into the output folder.
    void TransformNonSourceFiles();
    void SecondTransformStep();
    // Composes again the classes not parsed in this run whose outputs depend
    // on a binding state (of their own or of a class they access or
    // include) that the class-access graph now decides otherwise than their
    // dependency files record, until none is left.
    void RecomposeClassesOfChangedBinding();
    void OnTransformEnd();
    // "layer %s: %d LoC" per layer, the total and the method counts.
    void PrintLayerLoc();
    void CalcLayerMethods(Layer& layer, int& methods, int& inlinedMethods, int& extensions,
                          int& inlinedExtensions);
    void SaveFiles();
    // Gives unchanged outputs their old times back and touches the classes
    // that depend on a changed one.
    void TouchDependingFiles();
    // Layer interface, factory and layer classes of a dynamic composition.
    void GenerateFeatureClasses();

    // Composed classes by module name
    // The composed class of that name; when there is none and the name
    // begins with "C", the class named by the rest of the name (so "CFoo"
    // finds Foo unless a class CFoo exists); else null.
    TransformedModule* GetModule(char const* name);
    // Adds a feature module to the composed class of its name, creating the
    // class for the first module of a name. A module already in the class is
    // not added again.
    TransformedModule* AddFopModule(FOPModule& module);
    // A new composed class for the module, entered under its name.
    TransformedModule* CreateNewTransformedModule(FOPModule& module);
    // Enters the names into the set of generated class names.
    void AddGeneratedModules(StringArray const& names);
    // In a full rebuild, which parses every module, scans the modules'
    // files on all cores first: the parse, in class order, then finds their
    // token lists ready.
    void PrescanModules();
    // Whether name names a composed or generated class other than ownName
    // (also as "C" + a composed class's name); a generated name used so is
    // recorded as referenced.
    bool IsOtherModuleName(char const* name, Str const& ownName);
    bool HasGeneratedClassReference(char const* name);
    // The file base names of the names to include: generated and composed
    // classes keep their names (a class with an error is left out), "C" +
    // a composed class's name becomes that name, others stay as they are.
    void GetFileNamesFromModuleNames(StringArray const& names, StringArray& out);
    // Exact lookup in the table of composed classes.
    bool HasModule(Str const& name);
    // End of composed classes by module name

    // The composed classes by module name; the classes are not owned.
    MapStringTo<TransformedModule*> m_ComposedClasses;
    // The open append files of the output folder by file name.
    MapStringTo<AppendFile*> m_AppendFiles;
    // Composed classes generated, dependent classes touched in this run.
    int m_GeneratedCount;
    int m_DependentCount;
    // Whether any output file changed in the run; until the run's files are
    // written, assumed so.
    bool m_bAnyOutputChanged;
    // Class names that the generated factory code provides, and those of
    // them that some module uses.
    StringSet m_GeneratedClassNames;
    StringSet m_ReferencedGeneratedNames;
    // The absolute source folder; layer names are folder paths below it.
    Str m_SourceDir;
    // The equation's name.
    Str m_ProductLineName;
    // The absolute output folder.
    Str m_OutDir;
    // The main equation; owned.
    EquationFile* m_pEquation;
    bool m_bHasDynamicLayer;
    // What the code generator keeps with the stack (owned).
    GeneratorState* GetGeneratorState() const { return m_pGeneratorState.get(); }
    void SetGeneratorState(GeneratorState* state) { m_pGeneratorState.reset(state); }
    // False, after an error message that says why, for an output folder
    // the tool must not write into (OutputFolder::IsSafe).
    bool IsSafeOutputFolder(Str const& outDir);
    // Removes the recorded outputs that this run did not write and no
    // composed class kept: those of classes gone from the product line,
    // composed again without them or failing to compose, and plain files
    // no layer provides any more.
    void RemoveDeadOutputs();

private:
    std::unique_ptr<GeneratorState> m_pGeneratorState;
    // The error count when the equation began to load.
    int m_EquationErrors = 0;
};
