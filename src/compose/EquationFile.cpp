#include "compose/EquationFile.h"

#include "base/DiskInterface.h"
#include "base/ErrorLog.h"
#include "base/File.h"
#include "compose/LayerConfig.h"
#include "base/StringTokenizer.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

namespace {

// The file's path with every link resolved, so that one file reached by two
// names is recognised; the path as it is when it cannot be resolved.
Str RealPath(Str const& path)
{
    Str real = File::RealPath(path);
    return real.IsEmpty() ? path : real;
}

int IndexOf(StringArray const& list, Str const& text)
{
    for (int i = 0; i < list.GetCount(); ++i)
        if (list[i] == text)
            return i;
    return -1;
}

} // namespace

EquationFile::EquationFile(bool ownsConfigs)
    : StringListFile("equation"), m_bOwnsConfigs(ownsConfigs), m_bMetaInfo(false),
      m_bRuntimeAdapt(false), m_bHasDynamicLayer(false), m_pLoading(&m_OwnLoading),
      m_pRead(&m_OwnRead)
{
}

EquationFile::~EquationFile()
{
    if (!m_bOwnsConfigs)
        return;
    for (int i = 0; i < m_LayerConfigs.GetCount(); ++i)
        delete m_LayerConfigs[i];
}

bool EquationFile::Load(Str const& fileName)
{
    // Only the file's own name decides whether the ending is missing, so
    // that a folder such as "equations" does not suppress it.
    Str path = fileName;
    char const* name = path.GetBuffer() + File::LastSeparator(path) + 1;
    if (!strstr(name, GetDefaultExt()))
        path = fileName + "." + GetDefaultExt();
    // Only a regular file is read: a pipe or a device would block or never end.
    struct stat info;
    bool readable = stat(path, &info) != 0 || S_ISREG(info.st_mode);
    if (readable && StringListFile::Load(path))
        return true;
    if (!HasReportedFailure())
        ErrorLog::OnError("failed to load equation file '" + fileName + "'", GetImportFile(), m_ImportLine);
    return false;
}

bool EquationFile::LoadFile(Str const& fileName)
{
    if (!Load(fileName))
        return false;
    Str real = RealPath(GetPath());
    if (IndexOf(*m_pLoading, real) >= 0) {
        ErrorLog::OnError("recursive import of equation file '" + fileName + "'", GetImportFile(), m_ImportLine);
        return false;
    }
    m_pLoading->Add(real);
    if (IndexOf(*m_pRead, real) < 0)
        m_pRead->Add(real);
    int depth = m_pLoading->GetCount();

    bool ok = true;
    bool composeStatic = false;
    StringArray const& lines = GetList();
    for (int i = 0; i < lines.GetCount() && ok; ++i) {
        char const* line = lines[i].GetBuffer();
        while (*line == ' ' || *line == '\t')
            ++line;
        size_t length = strlen(line);
        size_t word = strcspn(line, " \t");
        if (word == 6 && strncmp(line, "import", 6) == 0) {
            // "import" alone would be read as a layer named so.
            if (line[strspn(line + 6, " \t") + 6] == '\0') {
                ErrorLog::OnError("'import' names no equation file: write 'import <file> [as <prefix>]'", GetPath(),
                                  GetLineNumber(i));
                continue;
            }
            ok = LoadImport(fileName, line + 7, false, GetLineNumber(i));
        } else if (length > 13 && strncmp(line, "compose static", 14) == 0) {
            composeStatic = true;
        } else if (word == 7 && strncmp(line, "compose", 7) == 0) {
            ErrorLog::OnError(Str("'") + line + "' is no layer line: did you mean `compose static`?", GetPath(),
                              GetLineNumber(i));
        } else {
            LayerConfig* config = new LayerConfig(Str(line), GetPath(), GetLineNumber(i));
            // Reported already; no folder to look for.
            if (!config->HasPathName()) {
                delete config;
                continue;
            }
            if (composeStatic && !config->m_bLoadDynamic)
                config->m_bStatic = true;
            AddLayer(*config);
        }
    }
    m_pLoading->RemoveAt(depth - 1, 1);
    return ok;
}

bool EquationFile::LoadImport(char const* importingFile, char const* importText, bool atFront, int line)
{
    Str folder(".");
    if (importingFile) {
        long separator = File::LastSeparator(importingFile);
        if (separator > 0)
            folder.SetData(importingFile, static_cast<size_t>(separator));
    }

    StringTokenizer words(Str(importText), Str(" \t"));
    if (!words.HasMoreTokens())
        return false;
    Str fileWord = words.GetNextToken();
    // Without "as" the layers lie in the folder the file word names, the
    // file's ending left out: "import gui.equation" as "import gui".
    Str prefix = fileWord;
    Str ending = Str(".") + GetDefaultExt();
    if (prefix.GetLength() > ending.GetLength() &&
        strcmp(prefix.GetBuffer() + prefix.GetLength() - ending.GetLength(), ending.GetBuffer()) == 0)
        prefix = prefix.Left(prefix.GetLength() - ending.GetLength());
    if (words.HasMoreTokens() && words.GetNextToken() == "as" && words.HasMoreTokens()) {
        prefix = words.GetNextToken();
        if (prefix == ".")
            prefix = "";
    }

    EquationFile imported(false);
    imported.m_pLoading = m_pLoading;
    imported.m_pRead = m_pRead;
    // The import line is where a file that cannot be read is named.
    imported.m_ImportFile = line > 0 ? GetPath() : Str();
    imported.m_ImportLine = line;
    if (!imported.LoadFile(folder + "/" + fileWord)) {
        // Nothing moved to this equation: the imported ones go with it.
        imported.m_bOwnsConfigs = true;
        return false;
    }
    for (int i = 0; i < imported.m_LayerConfigs.GetCount(); ++i) {
        LayerConfig& config = *imported.m_LayerConfigs[i];
        if (!prefix.IsEmpty()) {
            config.m_LayerName = prefix + "." + config.m_LayerName;
            config.m_ImportPrefix = prefix + ".";
        }
        if (atFront)
            InsertLayer(config, i);
        else
            AddLayer(config);
    }
    return true;
}

bool EquationFile::Prepend(char const* importingFile, char const* importText)
{
    return LoadImport(importingFile, importText, true);
}

LayerConfig* EquationFile::FindSwitchWithoutConfiguration() const
{
    static char const ending[] = "DynConditionalConfig";
    size_t const n = sizeof(ending) - 1;
    LayerConfig* first = nullptr;
    for (int i = 0; i < m_LayerConfigs.GetCount(); ++i) {
        LayerConfig* config = m_LayerConfigs[i];
        Str const& name = config->m_LayerName;
        if (name.GetLength() >= n && name.Right(n) == ending)
            return nullptr;
        if (!first && !config->m_IfConfigName.IsEmpty())
            first = config;
    }
    return first;
}

bool EquationFile::HasAnyChangedSince(FileTimeNs t) const
{
    for (int i = 0; i < m_pRead->GetCount(); ++i) {
        FileTimeNs modified = 0;
        if (!DiskInterface::Get().GetMTime((*m_pRead)[i], modified) || modified >= t)
            return true;
    }
    return false;
}

void EquationFile::AddLayer(LayerConfig& config)
{
    OnNewLayer(config);
    m_LayerConfigs.Add(&config);
}

void EquationFile::InsertLayer(LayerConfig& config, int index)
{
    OnNewLayer(config);
    m_LayerConfigs.InsertAt(index, &config);
}

void EquationFile::InsertLayer(LayerConfig& config, LayerConfig& after)
{
    for (int i = 0; i < m_LayerConfigs.GetCount(); ++i) {
        if (m_LayerConfigs[i] == &after) {
            InsertLayer(config, i + 1);
            return;
        }
    }
}

void EquationFile::OnNewLayer(LayerConfig& config)
{
    if (config.m_LayerName == "MetaLevelProgram.MOP.Info")
        m_bMetaInfo = true;
    else if (config.m_LayerName == "MetaLevelProgram.MOP.RuntimeAdapt")
        m_bRuntimeAdapt = true;
    if (config.m_bLoadDynamic)
        m_bHasDynamicLayer = true;
}

bool EquationFile::HasLayer(Str const& name) const
{
    for (int i = 0; i < m_LayerConfigs.GetCount(); ++i)
        if (m_LayerConfigs[i]->m_LayerName == name)
            return true;
    return false;
}

void EquationFile::DeleteDerivatives()
{
    for (int i = m_LayerConfigs.GetCount() - 1; i >= 0; --i) {
        LayerConfig* config = m_LayerConfigs[i];
        if (config && config->m_bDerivative) {
            m_LayerConfigs.RemoveAt(i, 1);
            delete config;
        }
    }
}

void EquationFile::GetDynJampackLayers(StringArray& names) const
{
    for (int i = 0; i < m_LayerConfigs.GetCount(); ++i)
        if (!m_LayerConfigs[i]->m_IfConfigName.IsEmpty())
            names.Add(m_LayerConfigs[i]->m_IfConfigName);
}

int EquationFile::CompareLayers(Str const& a, Str const& b) const
{
    if (a == b)
        return 0;
    for (int i = 0; i < m_LayerConfigs.GetCount(); ++i) {
        Str const& name = m_LayerConfigs[i]->m_LayerName;
        if (name == a)
            return -1;
        if (name == b)
            return 1;
    }
    return 0;
}
