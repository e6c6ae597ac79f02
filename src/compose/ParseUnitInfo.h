// The record of one parse unit in the plain parse's "files.txt": its id, its
// time and its path. Every constructed parse unit takes the next id.
#pragma once

#include "base/Str.h"

#include <ctime>

class ParseUnitInfo {
public:
    ParseUnitInfo();

    // Writes id, time and the path's length as three 32-bit integers in the
    // machine's byte order, then the path's bytes without terminator.
    // Returns the number of bytes written, -1 on a write error.
    int SaveToFile(int fd) const;
    // Reads a record written by SaveToFile; false on a short or bad record.
    bool LoadFromFile(int fd);

    int m_ID;
    time_t m_Time;
    Str m_Path;

    // The id of the next unit; starts at 1.
    static int m_NextID;
};
