#include "compose/Module.h"

#include "base/Directory.h"
#include "compose/ParseProject.h"

#include <strings.h>

namespace {

bool ExtIs(char const* extension, char const* kind)
{
    return strcasecmp(extension, kind) == 0;
}

} // namespace

Module::Module(ParseProject& project, Str const& folder)
    : m_Folder(folder), m_Decl(project), m_Impl(project), m_FileType(FT_NONE)
{
}

Module::Module(Module& other)
    : m_Name(other.m_Name), m_Folder(other.m_Folder), m_Decl(other.GetProject()), m_Impl(other.GetProject()),
      m_FileType(other.m_FileType)
{
    m_Decl.SetFile(other.m_Decl, true);
    m_Impl.SetFile(other.m_Impl, true);
}

bool Module::AddFile(FileName const& file)
{
    bool accepted = false;
    if (IsDeclFile(file))
        accepted = m_Decl.SetFile(file, false);
    else if (IsImplFile(file))
        accepted = m_Impl.SetFile(file, false);
    if (!accepted)
        return false;
    if (m_Name.IsEmpty())
        m_Name = file.GetName();
    if (m_FileType == FT_NONE)
        m_FileType = GetFileType(file.GetExt());
    return true;
}

bool Module::IsDeclFile(FileName const& file)
{
    char const* ext = file.GetExt();
    return ExtIs(ext, "h") || ExtIs(ext, "ah") || ExtIs(ext, "cs") || ExtIs(ext, "jak") || ExtIs(ext, "java");
}

bool Module::IsImplFile(FileName const& file)
{
    char const* ext = file.GetExt();
    return ExtIs(ext, "cc") || ExtIs(ext, "cpp") || ExtIs(ext, "acc");
}

int Module::GetFileType(char const* extension)
{
    if (!extension)
        return FT_NONE;
    if (ExtIs(extension, "h") || ExtIs(extension, "cc") || ExtIs(extension, "cpp"))
        return FT_CPP;
    if (ExtIs(extension, "ah") || ExtIs(extension, "acc"))
        return FT_ASPECT;
    if (ExtIs(extension, "cs"))
        return FT_CS;
    if (ExtIs(extension, "jak"))
        return FT_JAK;
    if (ExtIs(extension, "java"))
        return FT_JAVA;
    return FT_NONE;
}

char const* Module::ConvertToImplFileExt(Str const& extension)
{
    if (ExtIs(extension, "ah"))
        return "acc";
    return "cpp";
}

bool Module::Parse(bool verbose)
{
    bool parsed = false;
    if (m_Decl.HasFile())
        parsed = m_Decl.Parse(verbose);
    if (m_Impl.HasFile())
        parsed = m_Impl.Parse(verbose) || parsed;
    return parsed;
}

bool Module::HasChanged(FileTimeNs t) const
{
    if (!m_Decl.GetName().IsEmpty())
        return m_Decl.HasChanged(t);
    return m_Impl.HasChanged(t);
}

FileTimeNs Module::GetTimeBeforeEdit() const
{
    FileTimeNs t = 0;
    for (ParseUnit const* unit : {&m_Decl, &m_Impl})
        if (unit->ChangedSinceRead() && (t == 0 || unit->GetReadTime() < t))
            t = unit->GetReadTime();
    return t;
}

Str Module::RelPath(Str const& path) const
{
    return Directory::MakeRelPath(m_Folder, path);
}

ParseUnit* Module::SetTokenListener(CTokenListener* listener)
{
    m_Impl.SetTokenListener(listener);
    return m_Decl.SetTokenListener(listener);
}

int Module::SaveInfo(int fd)
{
    return m_Decl.SaveInfo(fd);
}

void Module::PrintDebugInfo()
{
    m_Decl.PrintDebugInfo();
}
