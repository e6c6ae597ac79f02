// One feature folder of the composition: its files sorted by kind (module
// files, files to append, copy files, layer equation files), the links it
// holds, and the feature modules made from its module files.
#pragma once

#include "base/Array.h"
#include "base/FileStat.h"
#include "base/Map.h"
#include "base/Str.h"
#include "base/StringArray.h"

#include <unordered_set>

class FOPModule;
class LayerConfig;
class LayerStack;
class Module;
class TransformedModule;

class Layer {
public:
    // parents is null for an ordinary layer; a derived layer copies it.
    Layer(LayerStack& stack, Str const& folder, LayerConfig& config, Set<Layer*, Layer*>* parents);
    // Deletes the feature modules it is the first of their layers to drop.
    ~Layer();
    Layer(Layer const&) = delete;
    Layer& operator=(Layer const&) = delete;

    // Lists the folder once and sorts every entry into its list; links
    // become derived layers.
    void LoadModules();
    // A file to append: a header beside a same-named .cpp/.c (or any header
    // when the folder holds ".notransform"), or an implementation or other
    // text kind. path is the full path.
    bool IsAppendFile(Str const& path);
    // A module file; fileName is the name without folder.
    bool ValidFileExt(Str const& fileName);
    // A file copied to the output folder (ico, lib, dll, bmp).
    bool IsCopyFile(Str const& path);
    // Keeps both forms of the link folder/name in place and makes the
    // derived layer of this layer and the layer the link names. target is
    // the folder the link points to.
    void ProcessLink(Str const& folder, Str const& name, Str const& target);
    void InitOutDir();
    void OnCreate();
    void UpdatePrefix(Set<Layer*, Layer*>& parents);

    // Adds a module of this layer (once) and its feature module to the
    // composed class of its name.
    void AddModule(Module& module);
    // The feature module of a module object, shared across layers.
    FOPModule* CreateModule(Module& module);
    bool HasModule(Module& module) const;
    FOPModule* GetFopModule(TransformedModule& cls) const;

    Str GetBindingName() const;
    // Whether the layer's folder existed when the layer was made.
    bool HasFolder() const { return m_bHasFolder; }
    bool LinkDynamic();
    bool ComposeDynamic();
    bool CanCreateDelegation();
    // The lines counted in the feature modules of this layer.
    int GetLocWritten();
    bool DynamicIfConfig();
    void GetDynamicIfConfigNames(StringArray& names);
    // The copy files and files to append into the output folder; answers
    // the number of files to append.
    int ProcessNonSourceFiles();
    // The layer's equation files appended; answers their number.
    int ProcessEquationFiles();

    Str m_PlainName;
    Str m_LayerName;
    Str m_Prefix;
    Str m_Dir;
    // The modules added to the layer, looked up for every module added.
    std::unordered_set<Module const*> m_Modules;
    Array<FOPModule*> m_FopModules;
    LayerStack* m_pStack;
    Set<Layer*, Layer*> m_BaseLayers;
    StringArray m_ModuleFiles;
    // The listed modification time of each module file; 0 for none.
    Array<FileTimeNs> m_ModuleTimes;
    // Per module file: the listing showed a regular file, no link.
    Array<bool> m_ModuleRegular;
    StringArray m_CopyFiles;
    StringArray m_AppendSources;
    StringArray m_EquationFiles;
    Layer* m_pLayerBelow;
    bool m_bMeta;
    bool m_bDerived;
    bool m_bStatic;
    LayerConfig* m_pConfig;
    Str m_DestDir;
    bool m_bNoTransform;
    Str m_IfConfigName;
    // The names of the layer's folder while LoadModules lists it; null otherwise.
    StringSet const* m_pListed;

    // One feature module per module object across all layers.
    static Map<Module*, FOPModule*> m_AllModules;

    // The folder of a layer from its full name and the source folder: the
    // plain path "<source>/<name with / for .>" when it exists, else a
    // "<first part>.lnk" link beside the sources, else a family folder under
    // MOSAC_HOME, else the plain path. LayerStack::GetAbsLayerDir answers it.
    static Str ResolveLayerDir(Str const& sourceDir, Str name);

private:
    // Sorts one file entry of the listing.
    // listed: the file's modification time found by the folder's listing,
    // 0 when it was not listed.
    // regular: the listing showed the entry as a regular file, no link.
    void AddFileEntry(Str const& folder, Str const& name, StringArray& done, FileTimeNs listed = 0,
                      bool regular = false);
    // Whether a link of that name (no ".link" or ".lnk") makes a derived
    // layer: it names a layer, also with this layer's import prefix.
    bool NamesLayer(Str const& linkName) const;
    // Handles the link named name once per listing.
    void OnLinkEntry(Str const& folder, Str const& name, Str const& target, StringArray& done);

    // The module object of each entry of m_FopModules made by CreateModule,
    // by index: the key under which the destructor finds a feature module
    // without touching it, as another layer may have deleted it already.
    Array<Module*> m_FopKeys;
    bool m_bHasFolder = false;
};
