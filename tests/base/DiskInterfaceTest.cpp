#include "base/DiskInterface.h"

#include "../scanner/TempFolder.h"
#include "VirtualDisk.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

TEST(DiskInterface, TheRealDiskAnswersUntilAnotherIsInstalledAndAfterItGoes)
{
    testutil::TempFolder tmp;
    std::string path = tmp.file("A.h", "a");
    struct stat record;
    ASSERT_EQ(0, ::stat(path.c_str(), &record));
    FileTimeNs real = MTimeNs(record);

    FileTimeNs t = 0;
    ASSERT_TRUE(DiskInterface::Get().GetMTime(path.c_str(), t));
    EXPECT_EQ(real, t);
    EXPECT_FALSE(DiskInterface::Get().GetMTime(tmp.path("Missing.h").c_str(), t));
    EXPECT_FALSE(DiskInterface::Get().GetMTime(nullptr, t));
    {
        testutil::VirtualDisk disk;
        disk.SetTime(path, 5000250000000LL);
        disk.SetSeconds(tmp.path("Missing.h"), 7);
        ASSERT_TRUE(DiskInterface::Get().GetMTime(path.c_str(), t));
        EXPECT_EQ(5000250000000LL, t);
        Lex::FileInfo info;
        ASSERT_TRUE(DiskInterface::Get().Stat(path.c_str(), info, nullptr));
        EXPECT_FALSE(info.is_folder()) << "the rest of the status is the file's";
        EXPECT_EQ(5000250000000LL, DiskInterface::Get().ReadTime(path.c_str(), info));
        EXPECT_FALSE(DiskInterface::Get().GetMTime(tmp.path("Missing.h").c_str(), t))
            << "a time does not make a file";
    }
    ASSERT_TRUE(DiskInterface::Get().GetMTime(path.c_str(), t));
    EXPECT_EQ(real, t);
}
