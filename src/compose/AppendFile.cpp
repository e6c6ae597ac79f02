#include "compose/AppendFile.h"

#include "base/Config.h"
#include "base/Diagnostics.h"
#include "base/Directory.h"
#include "base/ErrorLog.h"
#include "base/FileName.h"
#include "base/OutputRecord.h"
#include "base/TextFile.h"
#include "compose/FOPModule.h"
#include "compose/Layer.h"
#include "compose/LayerStack.h"
#include "compose/TransformedModule.h"

#include <cstring>
#include <strings.h>

namespace {

bool ExtIn(char const* ext, char const* const* list)
{
    for (; *list; ++list)
        if (strcasecmp(ext, *list) == 0)
            return true;
    return false;
}

} // namespace

AppendFile::AppendFile(Str const& path) : m_bChanged(false), m_File(path), m_bClosed(false)
{
    if (m_File.ReadTime())
        TextFile::GetFileContent(path, m_OldContent);
}

bool AppendFile::Write(char const* data, size_t n)
{
    m_NewContent.append(data, n);
    return true;
}

bool AppendFile::Close()
{
    if (m_bClosed)
        return m_bChanged;
    m_bClosed = true;
    size_t old = m_OldContent.GetLength();
    m_bChanged = !(old > 0 && m_NewContent.size() == old
                   && memcmp(m_OldContent.GetBuffer(), m_NewContent.data(), old) == 0);
    Str const& path = m_File.GetName();
    // An unchanged target stays as it is, but it is the tool's all the same.
    if (!m_bChanged)
        OutputRecord::Add(path);
    else if (!OutputRecord::Write(path, m_NewContent.data(), m_NewContent.size()))
        ErrorLog::OnError("could not write to file", path);
    return m_bChanged;
}

Str AppendFile::GetBaseName() const
{
    Str name = File::ExtractFileName(m_File.GetName());
    if (char const* dot = strrchr(name, '.'))
        return name.Left(static_cast<size_t>(dot - name.GetBuffer()));
    return name;
}

Str AppendFile::GetHeader(Str const& sourcePath, bool noLine)
{
    static char const* const code[] = {"cpp", "cc", "c", "h", "hpp", nullptr};
    static char const* const make[] = {"mk", nullptr};
    static char const* const resource[] = {"rc", "rc2", "rcinc", nullptr};

    FileName file(sourcePath);
    Str const& ext = file.GetExt();
    char const* marker;
    if (ExtIn(ext, code))
        marker = noLine ? "//" : "";
    else if (ExtIn(ext, make))
        marker = noLine ? "# src: //" : "# src: ";
    else if (ExtIn(ext, resource))
        marker = "//";
    else
        return Str();

    Str header;
    header.Format("\n%s#line 1 \"%s\"\n", marker, sourcePath.GetBuffer());
    header.Replace("\\", "/");
    return header;
}

bool AppendFile::IsComposedClassFile(LayerStack& stack, Str const& name, Str const& ext)
{
    auto* entry = stack.m_ComposedClasses.Find(name);
    if (!entry)
        return false;
    static char const* const always[] = {"cpp", "h", "dep", nullptr};
    if (ExtIn(ext, always))
        return true;
    TransformedModule* cls = entry->GetValue();
    FOPModule* first = cls ? cls->GetFirstModule() : nullptr;
    if (!first || !first->GetModule())
        return false;
    return strcasecmp(ext, first->GetGeneratedDeclFileExt()) == 0
           || strcasecmp(ext, first->GetGeneratedImplFileExt()) == 0;
}

AppendFile* AppendFile::Get(LayerStack& stack, char const* fileName)
{
    if (auto* entry = stack.m_AppendFiles.Find(fileName))
        return entry->GetValue();
    // A target that cannot be opened stays in the table: every file
    // appended to it then reports its failed write.
    AppendFile* file = new AppendFile(stack.m_OutDir + "/" + fileName);
    stack.m_AppendFiles.Put(fileName, file);
    return file;
}

void AppendFile::AppendFileData(Layer& layer, Str const& path)
{
    FileName file(path);
    Str target = file.NameWithExt();
    // Appending over a composed class's output would replace it with the
    // raw file whenever the class is not rebuilt.
    if (IsComposedClassFile(*layer.m_pStack, file.GetName(), file.GetExt())) {
        Diagnostics::Printf(DiagKind::Progress, DiagFlush::After, "skip append file %s\n",
                            ErrorLog::Escape(target).GetBuffer());
        return;
    }
    AppendFile* out = Get(*layer.m_pStack, target);
    if (!out)
        return;

    Str content;
    if (!TextFile::GetFileContent(path, content))
        ErrorLog::OnWarning("could not read from file", path);

    Str header = GetHeader(path, Config::GetInstance().GetNoLine());
    out->Write(header.GetBuffer(), header.GetLength());
    Diagnostics::Printf(DiagKind::Progress, DiagFlush::After, "appending file %s\n",
                        ErrorLog::Escape(layer.m_PlainName + "/" + target).GetBuffer());
    out->Write(content.GetBuffer(), content.GetLength());
}

bool AppendFile::CopyFile(Layer& layer, Str const& path)
{
    FileName file(path);
    Str name = file.NameWithExt();
    Str dest = layer.m_DestDir + "/" + name;
    Diagnostics::Printf(DiagKind::Progress, DiagFlush::After, "copy file %s\n", ErrorLog::Escape(name).GetBuffer());

    Str content;
    bool ok = TextFile::GetFileContent(path, content);
    if (ok) {
        Str old;
        FileStat record;
        if (record.stat(dest) && !record.is_dir() && TextFile::GetFileContent(dest, old)
            && old.GetLength() == content.GetLength()
            && memcmp(old.GetBuffer(), content.GetBuffer(), content.GetLength()) == 0) {
            // An identical copy is left alone, but it is the tool's.
            OutputRecord::Add(dest);
            return true;
        }
        if (!Directory::exists(layer.m_DestDir))
            Directory::CreateRecursive(layer.m_DestDir);
        FileStat source;
        mode_t mode = source.stat(path) ? (source.st_mode & 0777) : 0666;
        ok = OutputRecord::Write(dest, content.GetBuffer(), content.GetLength(), mode);
    }
    if (!ok)
        ErrorLog::OnWarning("could not copy file", path);
    return ok;
}

int AppendFile::ProcessNonSourceFiles(Layer& layer)
{
    for (int i = 0; i < layer.m_CopyFiles.GetCount(); ++i)
        CopyFile(layer, layer.m_CopyFiles[i]);
    for (int i = 0; i < layer.m_AppendSources.GetCount(); ++i)
        AppendFileData(layer, layer.m_AppendSources[i]);
    return layer.m_AppendSources.GetCount();
}

int AppendFile::ProcessEquationFiles(Layer& layer)
{
    for (int i = 0; i < layer.m_EquationFiles.GetCount(); ++i)
        AppendFileData(layer, layer.m_EquationFiles[i]);
    return layer.m_EquationFiles.GetCount();
}

int AppendFile::CloseAll(MapStringTo<AppendFile*>& files, int& changed)
{
    int total = 0;
    changed = 0;
    for (auto* node = files.GetFirst(); node; node = files.GetNext(node)) {
        AppendFile* file = node->GetValue();
        ++total;
        if (!file || file->Close())
            ++changed;
        delete file;
    }
    files.RemoveAll();
    return total;
}
