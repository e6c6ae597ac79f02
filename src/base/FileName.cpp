#include "base/FileName.h"

#include "base/Directory.h"
#include "base/File.h"

#include <cstring>

FileName::FileName(char const* path)
    : m_Path(path)
{
    long sep = File::LastSeparator(m_Path);
    if (sep < 0) {
        m_Name = m_Path;
    } else {
        if (sep > 0)
            m_Dir = m_Path.Left(static_cast<size_t>(sep));
        m_Name = m_Path.GetBuffer() + sep + 1;
    }

    if (char const* dot = strrchr(m_Name.GetBuffer(), '.')) {
        size_t at = static_cast<size_t>(dot - m_Name.GetBuffer());
        m_Ext = dot + 1;
        m_Name = m_Name.Left(at);
    }

    if (!m_Dir.IsEmpty()) {
        Str absolute = Directory::MakeAbsPath(m_Dir);
        if (!absolute.IsEmpty())
            m_Dir = absolute;
    }
    m_DirAndName = m_Dir + "/" + m_Name;
}

Str FileName::NameWithExt() const
{
    return m_Name + "." + m_Ext;
}

bool FileName::SetFile(FileName const& other, bool overwrite)
{
    if (!m_Name.IsEmpty() && !overwrite)
        return false;
    m_Name = other.m_Name;
    m_Dir = other.m_Dir;
    m_Ext = other.m_Ext;
    m_Path = other.m_Path;
    m_DirAndName = other.m_DirAndName;
    return true;
}
