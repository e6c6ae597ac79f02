#include "compose/ParseUnitInfo.h"

#include "scanner/SysCall.h"

#include <cstdint>
#include <string>

int ParseUnitInfo::m_NextID = 1;

ParseUnitInfo::ParseUnitInfo() : m_ID(0), m_Time(0) {}

int ParseUnitInfo::SaveToFile(int fd) const
{
    int32_t head[3] = {static_cast<int32_t>(m_ID), static_cast<int32_t>(m_Time),
                       static_cast<int32_t>(m_Path.GetLength())};
    std::string record(reinterpret_cast<char const*>(head), sizeof head);
    record.append(m_Path.GetBuffer(), m_Path.GetLength());
    long written = Lex::SysCall::write(fd, &record[0], record.size(), nullptr);
    if (written != static_cast<long>(record.size()))
        return -1;
    return static_cast<int>(written);
}

bool ParseUnitInfo::LoadFromFile(int fd)
{
    int32_t head[3];
    if (Lex::SysCall::read(fd, head, sizeof head, nullptr) != static_cast<long>(sizeof head))
        return false;
    if (head[2] < 0)
        return false;
    std::string path(static_cast<size_t>(head[2]), '\0');
    if (head[2] > 0 && Lex::SysCall::read(fd, &path[0], path.size(), nullptr) != static_cast<long>(path.size()))
        return false;
    m_ID = head[0];
    m_Time = head[1];
    m_Path.SetData(path.data(), path.size());
    return true;
}
