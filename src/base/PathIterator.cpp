#include "base/PathIterator.h"

#include <sys/stat.h>

PathIterator::PathIterator(char const* folder)
    : m_Folder(folder), m_bNextIsLink(false)
{
    if (m_Dir.Open(folder))
        ReadNext();
}

void PathIterator::ReadNext()
{
    m_NextName = "";
    m_bNextIsLink = false;
    while (char const* entry = m_Dir.NextEntry()) {
        Str path = m_Folder + "/" + entry;
        if (!m_NextStat.stat(path))
            continue;
        struct stat own;
        m_bNextIsLink = ::lstat(path, &own) == 0 && S_ISLNK(own.st_mode);
        m_NextName = entry;
        return;
    }
}
