#include "compose/Layer.h"

#include "base/Config.h"
#include "base/Directory.h"
#include "base/DiskInterface.h"
#include "base/ErrorLog.h"
#include "base/File.h"
#include "base/FileName.h"
#include "base/GenericFileLink.h"
#include "base/TextFile.h"
#include "compose/AppendFile.h"
#include "compose/FOPModule.h"
#include "compose/LayerConfig.h"
#include "compose/LayerStack.h"
#include "compose/Module.h"
#include "scanner/ErrorStream.h"
#include "scanner/SysCall.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>

Map<Module*, FOPModule*> Layer::m_AllModules;

namespace {

// folder + "/" + name, without doubling a '/' that ends the folder.
Str JoinPath(Str const& folder, Str const& name)
{
    Str path(folder);
    size_t n = path.GetLength();
    if (n == 0 || path.GetBuffer()[n - 1] != '/')
        path += "/";
    path += name;
    return path;
}

// The text after the last '.' of the name part of path; empty when none.
Str ExtensionOf(char const* path)
{
    char const* name = path;
    for (char const* p = path; *p; ++p)
        if (*p == '/' || *p == '\\')
            name = p + 1;
    char const* dot = strrchr(name, '.');
    return Str(dot ? dot + 1 : "");
}

bool ExtIn(Str const& extension, char const* const* kinds)
{
    for (; *kinds; ++kinds)
        if (strcasecmp(extension, *kinds) == 0)
            return true;
    return false;
}

bool EndsWith(Str const& text, char const* suffix)
{
    size_t n = strlen(suffix);
    return text.GetLength() >= n && strcmp(text.GetBuffer() + text.GetLength() - n, suffix) == 0;
}

// The link name: name without a trailing ".link", else without ".lnk".
Str LinkName(Str const& name)
{
    if (EndsWith(name, ".link"))
        return name.Left(name.GetLength() - 5);
    if (EndsWith(name, ".lnk"))
        return name.Left(name.GetLength() - 4);
    return name;
}

// The first word of an own link file as stored; empty when none.
Str OwnLinkWord(Str const& path)
{
    Str content;
    Str word;
    if (!TextFile::GetFileContent(path, content))
        return word;
    char const* p = content.GetBuffer();
    while (*p && isspace(static_cast<unsigned char>(*p)))
        ++p;
    char const* end = p;
    while (*end && !isspace(static_cast<unsigned char>(*end)))
        ++end;
    word.SetData(p, static_cast<size_t>(end - p));
    return word;
}

// The text of the symbolic link at path; false when it is none.
bool ReadLink(Str const& path, Str& text)
{
    std::string raw;
    if (!Lex::SysCall::readlink(path, raw, nullptr))
        return false;
    text.SetData(raw.data(), raw.size());
    return true;
}

} // namespace

Layer::Layer(LayerStack& stack, Str const& folder, LayerConfig& config, Set<Layer*, Layer*>* parents)
    : m_PlainName(config.m_PlainName), m_LayerName(config.m_LayerName), m_Dir(folder), m_pStack(&stack),
      m_pLayerBelow(nullptr), m_bMeta(false), m_bDerived(false), m_bStatic(config.m_bStatic), m_pConfig(&config),
      m_bNoTransform(false), m_pListed(nullptr)
{
    m_bHasFolder = Directory::exists(m_Dir);
    if (!m_bHasFolder) {
        // Composed without it, the product would lack the feature.
        Str text;
        text.Format("folder %s for feature %s does not exist; %s", m_Dir.GetBuffer(), m_PlainName.GetBuffer(),
                    parents ? "make the folder the link names or remove the link"
                            : "correct the layer's name in the equation or make the folder");
        ErrorLog::OnError(text, config.m_File.IsEmpty() ? nullptr : config.m_File.GetBuffer(), config.m_Line);
    }
    Lex::FileInfo info;
    if (Lex::SysCall::stat(JoinPath(m_Dir, ".notransform"), info, nullptr))
        m_bNoTransform = true;
    InitOutDir();

    size_t full = m_LayerName.GetLength();
    size_t plain = m_PlainName.GetLength();
    if (full > plain && EndsWith(m_LayerName, m_PlainName))
        m_Prefix = m_LayerName.Left(full - plain - 1);

    m_bMeta = strncmp(m_LayerName.GetBuffer(), "Meta", 4) == 0;

    if (parents) {
        m_bDerived = true;
        for (auto* node = parents->GetFirst(); node; node = parents->GetNext(node))
            m_BaseLayers.Add(node->GetKey());
        if (m_Prefix.IsEmpty())
            UpdatePrefix(*parents);
    } else {
        m_BaseLayers.Add(this);
    }
    m_pLayerBelow = nullptr;
    OnCreate();
}

Layer::~Layer()
{
    // A feature module shared with another layer is deleted by the first of
    // its layers to go: its entry is gone for the others.
    int n = m_FopKeys.GetCount() < m_FopModules.GetCount() ? m_FopKeys.GetCount() : m_FopModules.GetCount();
    for (int i = 0; i < n; ++i) {
        FOPModule* fop = m_FopModules[i];
        auto* node = m_AllModules.Find(m_FopKeys[i]);
        if (!fop || !node || node->GetValue() != fop)
            continue;
        m_AllModules.Remove(m_FopKeys[i]);
        delete fop;
    }
}

void Layer::InitOutDir()
{
    m_DestDir = m_pStack->m_OutDir;
    if (Config::GetInstance().GetLinkDir() && m_pConfig->m_bLinkDynamic) {
        m_DestDir += "/";
        m_DestDir += m_pConfig->GetBindingUnitName();
    }
}

void Layer::OnCreate()
{
    m_IfConfigName = m_pConfig->m_IfConfigName;
}

void Layer::UpdatePrefix(Set<Layer*, Layer*>& parents)
{
    // Parents that share one prefix hand it on; differing prefixes leave
    // the layer without one, whatever the order of the set.
    bool first = true;
    for (auto* node = parents.GetFirst(); node; node = parents.GetNext(node)) {
        Layer* parent = node->GetKey();
        if (first) {
            m_Prefix = parent->m_Prefix;
            first = false;
        } else if (parent->m_Prefix != m_Prefix) {
            m_Prefix = "";
            return;
        }
    }
}

Str Layer::ResolveLayerDir(Str const& sourceDir, Str name)
{
    name.Replace(".", "/");
    Str plain = sourceDir + "/" + name;
    if (Directory::exists(plain))
        return plain;

    Str first(name);
    Str rest;
    if (char const* slash = strchr(name.GetBuffer(), '/')) {
        size_t at = static_cast<size_t>(slash - name.GetBuffer());
        first = name.Left(at);
        rest = slash + 1;
    }

    // "<first part>.lnk" beside the sources; its text is read relative to
    // the source folder that holds it.
    Str lnk = sourceDir + "/" + first + ".lnk";
    Lex::FileInfo info;
    if (Lex::SysCall::stat(lnk, info, nullptr)) {
        std::string text;
        if (!Lex::SysCall::readlink(lnk, text, nullptr))
            return plain;
        std::string target = Lex::SysCall::linkedPath(lnk.GetBuffer(), text);
        return Str(target.c_str()) + "/" + rest;
    }

    char const* home = getenv("MOSAC_HOME");
    if (!home)
        return plain;
    bool vrenk = first == "vrenk";
    if (!(first == "env" || vrenk || first == "MetaLevelProgram" || first == "org"))
        return plain;
    if (char const* slash = strchr(rest.GetBuffer(), '/')) {
        Str part;
        part.SetData(rest.GetBuffer(), static_cast<size_t>(slash - rest.GetBuffer()));
        if (part == "env" || part == "MetaLevelProgram") {
            // A layer's folder is resolved several times a run (set-up, the
            // output folder's guard, equation passes): one report suffices.
            ErrorLog::OnErrorOnce("'" + part + "' should not follow 'vrenk' in " + name);
            return plain;
        }
    }
    Str folder(home);
    folder.Replace("\\", "/");
    while (EndsWith(folder, "/"))
        folder = folder.Left(folder.GetLength() - 1);
    Str candidate = folder + (vrenk ? Str("/src/") : "/" + first + "/") + rest;
    if (!Directory::exists(candidate))
        return plain;
    ErrorLog::OnInfo("using folder '" + candidate + "' for feature '" + name + "'");
    return candidate;
}

void Layer::LoadModules()
{
    DIR* dir = Lex::SysCall::opendir(m_Dir, nullptr);
    if (!dir)
        return;
    StringArray names;
    Array<bool> regular;
    bool isRegular = false;
    while (char const* name = Lex::SysCall::readdir(dir, nullptr, &isRegular)) {
        names.Add(name);
        regular.Add(isRegular);
    }
    Lex::SysCall::closedir(dir, nullptr);

    // Entries that cannot be reached (broken links, link loops) are reported
    // as errors and left out; the listing goes on. Files are sorted first,
    // then the links to folders.
    Lex::ErrorStream errors;
    errors.cap(Lex::sev_error);
    StringArray folders;
    StringArray done;
    StringSet listed;
    listed.SetIndexed();
    for (int i = 0; i < names.GetCount(); ++i)
        listed.Add(names[i]);
    m_pListed = &listed;
    for (int i = 0; i < names.GetCount(); ++i) {
        Str path = JoinPath(m_Dir, names[i]);
        // A link that would make a derived layer and leads nowhere is told
        // as such; the listing shows every link as no regular file.
        Str text;
        if (!regular[i] && ReadLink(path, text) && NamesLayer(LinkName(names[i])) && !Directory::exists(path)) {
            ErrorLog::OnError("cannot resolve link: the folder '" + text +
                                  "' it names does not exist; correct the link or remove it",
                              path);
            continue;
        }
        Lex::FileInfo info;
        if (!DiskInterface::Get().Stat(path, info, &errors))
            continue;
        // Pipes, sockets and devices would block or never end when read.
        if (!info.is_folder() && !S_ISREG(info.st_mode)) {
            ErrorLog::OnWarning("not a regular file; skipped", path);
            continue;
        }
        if (info.is_folder())
            folders.Add(names[i]);
        else
            AddFileEntry(m_Dir, names[i], done, info.mod_time_ns(), regular[i]);
    }
    m_pListed = nullptr;
    for (int i = 0; i < folders.GetCount(); ++i) {
        Str text;
        if (ReadLink(JoinPath(m_Dir, folders[i]), text))
            OnLinkEntry(m_Dir, folders[i], text, done);
    }
}

void Layer::AddFileEntry(Str const& folder, Str const& name, StringArray& done, FileTimeNs listed, bool regular)
{
    Str path = JoinPath(folder, name);
    if (EndsWith(name, ".lnk"))
        ErrorLog::OnWarning("cannot resolve link", path);
    if (EndsWith(name, ".link")) {
        GenericFileLink::OwnLinkState state = GenericFileLink::link_unreadable;
        GenericFileLink::ReadOwnLink(path, &state);
        if (state == GenericFileLink::link_empty)
            Lex::SysCall::remove(path);
        else if (state == GenericFileLink::link_resolved)
            OnLinkEntry(folder, name, OwnLinkWord(path), done);
        else if (state == GenericFileLink::link_target_missing && NamesLayer(LinkName(name)))
            // The derived layer it would make would be missing.
            ErrorLog::OnError("cannot resolve link: the folder '" + OwnLinkWord(path) +
                                  "' it names does not exist; correct the link or remove it",
                              path);
        else
            ErrorLog::OnWarning("cannot resolve link", path);
        return;
    }
    if (IsAppendFile(path))
        m_AppendSources.Add(path);
    else if (ValidFileExt(name)) {
        m_ModuleFiles.Add(path);
        m_ModuleTimes.Add(listed);
        m_ModuleRegular.Add(regular);
    }
    else if (IsCopyFile(path))
        m_CopyFiles.Add(path);
    else if (strcasecmp(ExtensionOf(name), "equation") == 0)
        m_EquationFiles.Add(path);
}

bool Layer::NamesLayer(Str const& linkName) const
{
    return m_pStack->FindLayer(linkName) ||
           (m_pConfig && m_pStack->FindLayer(m_pConfig->m_ImportPrefix + linkName));
}

void Layer::OnLinkEntry(Str const& folder, Str const& name, Str const& target, StringArray& done)
{
    Str linkName = LinkName(name);
    for (int i = 0; i < done.GetCount(); ++i)
        if (done[i] == linkName)
            return;
    done.Add(linkName);
    ProcessLink(folder, name, target);
}

bool Layer::IsAppendFile(Str const& path)
{
    static char const* const appended[] = {"cpp", "cc", "c", "rc", "rc2", "rcinc", "g", "mk", "hc", "i",
                                           "html", "htm", "php", "txt", "hpp", nullptr};
    Str ext = ExtensionOf(path);
    if (strcasecmp(ext, "h") == 0) {
        if (m_bNoTransform)
            return true;
        // The siblings lie beside the header: below a folder, the path
        // without its extension names them, and resolving the folder (a
        // system call per path component) is left out; it names the same
        // files.
        long sep = File::LastSeparator(path);
        Str base;
        if (sep > 0 && path.GetBuffer()[sep] == '/') {
            base = path.Left(path.GetLength() - ext.GetLength() - 1);
        } else {
            FileName file(path);
            base = JoinPath(file.GetDir(), file.GetName());
        }
        // While the layer's folder is listed, a name missing from the listing
        // is no sibling: no system call asks for it.
        if (m_pListed && sep > 0) {
            Str stem = base.GetBuffer() + sep + 1;
            if (JoinPath(m_Dir, stem) == base && !m_pListed->Contains(stem + ".cpp") &&
                !m_pListed->Contains(stem + ".c"))
                return false;
        }
        Lex::FileInfo info;
        return Lex::SysCall::stat(base + ".cpp", info, nullptr) || Lex::SysCall::stat(base + ".c", info, nullptr);
    }
    return ExtIn(ext, appended);
}

bool Layer::ValidFileExt(Str const& fileName)
{
    static char const* const modules[] = {"cs", "ah", "java", "jak", nullptr};
    Str ext = ExtensionOf(fileName);
    if (strcasecmp(ext, "h") == 0)
        return !m_bNoTransform;
    return ExtIn(ext, modules);
}

bool Layer::IsCopyFile(Str const& path)
{
    static char const* const copied[] = {"ico", "lib", "dll", "bmp", nullptr};
    return ExtIn(ExtensionOf(path), copied);
}

void Layer::ProcessLink(Str const& folder, Str const& name, Str const& target)
{
    Str linkName = LinkName(name);
    // A relative target is relative to the folder that holds the link; both
    // link forms keep it so.
    GenericFileLink::UpdateLink(folder, linkName, target);
    Str absolute = target.GetBuffer()[0] == '/' ? Directory::MakeAbsPath(target) : Directory::MakeAbsPath(folder, target);
    if (absolute.IsEmpty())
        absolute = target.GetBuffer()[0] == '/' ? target : JoinPath(folder, target);
    m_pStack->AddDerivativeLayer(*this, absolute, linkName, JoinPath(folder, name));
}

void Layer::AddModule(Module& module)
{
    if (!m_Modules.insert(&module).second)
        return;
    if (FOPModule* fop = CreateModule(module))
        m_pStack->AddFopModule(*fop);
}

FOPModule* Layer::CreateModule(Module& module)
{
    FOPModule* fop = nullptr;
    // Large product lines hold tens of thousands of modules; the table is
    // only looked up, so its bucket count changes no order of the output.
    m_AllModules.InitBuckets(16381);
    if (auto* node = m_AllModules.Find(&module)) {
        fop = node->GetValue();
    } else {
        fop = new FOPModule(module, *this);
        m_AllModules.Put(&module, fop);
    }
    m_FopModules.Add(fop);
    m_FopKeys.Add(&module);
    return fop;
}

bool Layer::HasModule(Module& module) const
{
    return m_Modules.count(&module) != 0;
}

FOPModule* Layer::GetFopModule(TransformedModule& cls) const
{
    for (int i = 0; i < m_FopModules.GetCount(); ++i)
        if (m_FopModules[i] && m_FopModules[i]->GetTransformedClass() == &cls)
            return m_FopModules[i];
    return nullptr;
}

Str Layer::GetBindingName() const
{
    return m_pConfig->GetBindingUnitName();
}

bool Layer::LinkDynamic()
{
    return m_pConfig->m_bLinkDynamic;
}

bool Layer::ComposeDynamic()
{
    return m_pConfig->m_bLoadDynamic;
}

bool Layer::CanCreateDelegation()
{
    return !m_pConfig->m_bStatic && strncmp(m_pConfig->m_LayerName.GetBuffer(), "Meta", 4) != 0;
}

int Layer::GetLocWritten()
{
    int lines = 0;
    for (int i = 0; i < m_FopModules.GetCount(); ++i)
        if (m_FopModules[i])
            lines += m_FopModules[i]->GetLoc();
    return lines;
}

bool Layer::DynamicIfConfig()
{
    if (!m_bDerived)
        return !m_IfConfigName.IsEmpty();
    for (auto* node = m_BaseLayers.GetFirst(); node; node = m_BaseLayers.GetNext(node))
        if (node->GetKey() != this && node->GetKey()->DynamicIfConfig())
            return true;
    return false;
}

void Layer::GetDynamicIfConfigNames(StringArray& names)
{
    if (!m_bDerived) {
        if (!m_IfConfigName.IsEmpty())
            names.Add(m_IfConfigName);
        return;
    }
    for (auto* node = m_BaseLayers.GetFirst(); node; node = m_BaseLayers.GetNext(node))
        if (node->GetKey() != this)
            node->GetKey()->GetDynamicIfConfigNames(names);
}

int Layer::ProcessNonSourceFiles()
{
    return AppendFile::ProcessNonSourceFiles(*this);
}

int Layer::ProcessEquationFiles()
{
    return AppendFile::ProcessEquationFiles(*this);
}
