#include "compose/DerivativeLayers.h"

#include "base/Config.h"
#include "base/Directory.h"
#include "base/ErrorLog.h"
#include "compose/AppendFile.h"
#include "compose/EquationFile.h"
#include "compose/Layer.h"
#include "compose/LayerConfig.h"
#include "compose/LayerStack.h"

#include <cstring>

void DerivativeLayers::AddDerivativeLayer(LayerStack& stack, Layer& layer, Str const& folder, Str const& linkName,
                                          Str const& linkPath)
{
    Layer* other = stack.FindLayer(linkName);
    if (!other && layer.m_pConfig)
        other = stack.FindLayer(layer.m_pConfig->m_ImportPrefix + linkName);
    if (!other)
        return;
    Set<Layer*, Layer*> parents;
    for (auto* node = layer.m_BaseLayers.GetFirst(); node; node = layer.m_BaseLayers.GetNext(node))
        parents.Add(node->GetKey());
    parents.Add(other);
    StringSet parentNames;
    for (auto* node = parents.GetFirst(); node; node = parents.GetNext(node))
        parentNames.Add(node->GetKey()->m_LayerName);
    if (LayerConfig* config = CreateDerivateConfig(stack, parentNames)) {
        config->m_File = linkPath;
        stack.NewLayer(*config, folder, &parents);
    }
}

LayerConfig* DerivativeLayers::CreateDerivateConfig(LayerStack& stack, StringSet& parentNames)
{
    Str name;
    Str plainName;
    Str bindingUnit;
    bool staticSeen = false;
    bool linkSeen = false;
    bool loadSeen = false;
    LayerConfig* lastParent = nullptr;

    Array<LayerConfig*> configs;
    configs = stack.m_pEquation->m_LayerConfigs;
    for (int i = 0; i < configs.GetCount(); ++i) {
        LayerConfig* parent = configs[i];
        if (!parent || !parentNames.Contains(parent->m_LayerName))
            continue;
        Str const& full = parent->m_LayerName;
        bool meta = full.GetLength() > 3 && strncmp(full, "Meta", 4) == 0;
        if (staticSeen && !parent->m_bStatic && !meta) {
            Str text;
            text.Format("cannot compose derivatives of static and non-static modules: %s", full.GetBuffer());
            ErrorLog::OnErrorOnce(text); // listed again with -eq
        }
        if (parent->m_bStatic || meta)
            staticSeen = true;
        else if (parent->m_bLinkDynamic)
            linkSeen = true;
        else if (parent->m_bLoadDynamic)
            loadSeen = true;
        if (linkSeen || loadSeen) {
            Str unit = parent->GetBindingUnitName();
            if (bindingUnit.IsEmpty()) {
                bindingUnit = unit;
            } else if (bindingUnit != unit) {
                bindingUnit = bindingUnit + "." + unit;
                Str text;
                text.Format("creating new binding unit: %s", bindingUnit.GetBuffer());
                ErrorLog::OnWarning(text);
            }
        }
        if (lastParent) {
            name += "/";
            plainName += "/";
        }
        name += full;
        plainName += parent->m_PlainName;
        lastParent = parent;
    }
    // Without a parent in the equation there is nothing to place it after.
    if (!lastParent || stack.FindLayer(name))
        return nullptr;

    LayerConfig* config = new LayerConfig(name, plainName);
    config->m_bDerivative = true;
    if (staticSeen)
        config->m_bStatic = true;
    if (linkSeen)
        config->SetLinkDynamic();
    else if (loadSeen)
        config->SetLoadDynamic();
    if (!bindingUnit.IsEmpty())
        config->SetBindingUnit(bindingUnit);
    stack.m_pEquation->InsertLayer(*config, *lastParent);
    return config;
}

bool DerivativeLayers::TransformEquationFiles(LayerStack& stack)
{
    // On a first run the output folder may not exist yet.
    for (int i = 0; i < stack.GetCount(); ++i)
        if (stack[i]->m_EquationFiles.GetCount() > 0) {
            Directory::CreateRecursive(stack.m_OutDir);
            break;
        }
    int count = 0;
    for (int i = 0; i < stack.GetCount(); ++i)
        count += stack[i]->ProcessEquationFiles();
    if (Config::GetInstance().GetEqOnly() || count == 0) {
        int changed = 0;
        AppendFile::CloseAll(stack.m_AppendFiles, changed);
        return true;
    }
    // The derived layers point at their configurations: the layers go
    // first.
    for (int i = 0; i < stack.GetCount(); ++i)
        delete stack[i];
    stack.RemoveAll();
    stack.m_pEquation->DeleteDerivatives();
    // Each composed file is imported at the front; a layer folder of its
    // name below the sources becomes the prefix of its layers.
    bool ok = true;
    for (auto* node = stack.m_AppendFiles.GetFirst(); node; node = stack.m_AppendFiles.GetNext(node)) {
        AppendFile* file = node->GetValue();
        Str path = file->m_File.GetName();
        Str importText = file->GetBaseName();
        file->Close();
        delete file;
        if (!Directory::exists(stack.GetAbsLayerDir(importText)))
            importText += " as .";
        ok = stack.m_pEquation->Prepend(path, importText) && ok;
    }
    stack.m_AppendFiles.RemoveAll();
    return stack.OnEquationChanged() && ok;
}
