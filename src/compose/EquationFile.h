// An equation file: the layers of one composition, one per line, bottom
// layer first, with per-layer settings and imports of further equation
// files ("import <file> [as <prefix>]", "compose static").
#pragma once

#include "base/Array.h"
#include "base/StringArray.h"
#include "base/StringListFile.h"

class LayerConfig;

class EquationFile : public StringListFile {
public:
    // With ownsConfigs the destructor deletes the configurations.
    explicit EquationFile(bool ownsConfigs);
    EquationFile(EquationFile const&) = delete;
    EquationFile& operator=(EquationFile const&) = delete;
    ~EquationFile() override;

    // Reads the file (".equation" appended when the name lacks the word);
    // reports "failed to load equation file '<name>'" when it cannot.
    bool Load(Str const& fileName) override;
    // Loads the file and interprets its lines; false when the file cannot
    // be read, an import fails or the file imports itself. A mistaken line
    // ("import" without a file, "compose" without "static", and those of
    // LayerConfig) is an error at its file and line.
    bool LoadFile(Str const& fileName);
    // One import ("<file> [as <prefix>]", the text after "import "), the
    // file resolved beside the importing file; the imported layers go to
    // the end, or to the front with atFront. line is the import line's in
    // this file, which the errors about the imported file name (0: none).
    bool LoadImport(char const* importingFile, char const* importText, bool atFront, int line = 0);
    bool Prepend(char const* importingFile, char const* importText);

    // The equation keeps the configuration.
    void AddLayer(LayerConfig& config);
    void InsertLayer(LayerConfig& config, int index);
    // Inserts right after `after`; nothing when `after` is not in the list.
    void InsertLayer(LayerConfig& config, LayerConfig& after);
    // Notes the meta-info, runtime-adapt and dynamic-layer flags.
    void OnNewLayer(LayerConfig& config);
    bool HasLayer(Str const& name) const;
    // Removes and deletes the configurations of derived layers.
    void DeleteDerivatives();
    // Appends the non-empty if-config names in list order.
    void GetDynJampackLayers(StringArray& names) const;
    // -1 when a comes first in the list, 1 when b does, 0 when equal or
    // neither is listed.
    int CompareLayers(Str const& a, Str const& b) const;

    // The real paths of every equation file read for this equation, its
    // own and those it imports, in the order they were read.
    StringArray const& GetReadFiles() const { return *m_pRead; }
    // Whether any of them cannot be examined or is not older than t.
    bool HasAnyChangedSince(FileTimeNs t) const;
    // The first layer with a run-time feature switch when no layer's name
    // ends with "DynConditionalConfig" (the layer whose DynamicFeatureConfig
    // gets the switches); null otherwise.
    LayerConfig* FindSwitchWithoutConfiguration() const;

    bool m_bOwnsConfigs;
    Array<LayerConfig*> m_LayerConfigs;
    bool m_bMetaInfo;
    bool m_bRuntimeAdapt;
    bool m_bHasDynamicLayer;

private:
    char const* GetImportFile() const { return m_ImportFile.IsEmpty() ? nullptr : m_ImportFile.GetBuffer(); }

    // The importing file and line of an imported equation; empty and 0 for
    // the main one.
    Str m_ImportFile;
    int m_ImportLine = 0;
    // The real paths of the files being loaded, outermost first; shared
    // with the temporary equations of imports to refuse import cycles.
    StringArray m_OwnLoading;
    StringArray* m_pLoading;
    // Shared with the temporary equations of imports as well.
    StringArray m_OwnRead;
    StringArray* m_pRead;
};
