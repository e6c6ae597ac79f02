#include "base/FileStat.h"

#include <cstring>

FileStat::FileStat()
{
    memset(static_cast<struct ::stat*>(this), 0, sizeof(struct ::stat));
}

bool FileStat::stat(char const* path)
{
    struct ::stat* record = this;
    memset(record, 0, sizeof(struct ::stat));
    return path && ::stat(path, record) == 0;
}
