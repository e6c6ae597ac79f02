#include "base/File.h"
#include "base/FileStat.h"

#include "../Captured.h"
#include "../scanner/TempFolder.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <sys/stat.h>
#include <utime.h>

namespace {

time_t MTime(std::string const& path)
{
    struct stat record;
    return ::stat(path.c_str(), &record) == 0 ? record.st_mtime : -1;
}

void SetTime(std::string const& path, time_t t)
{
    utimbuf times{t, t};
    ASSERT_EQ(0, ::utime(path.c_str(), &times));
}

TEST(File, ExtractPathAndName)
{
    struct Case { char const* path; char const* folder; char const* name; };
    Case const cases[] = {
        {"/x", "", "x"},
        {"a/b/c", "a/b", "c"},
        {"a/b/", "a/b", ""},
        {"abc", "", "abc"},
        {"a\\b/c\\d", "a\\b/c", "d"},
        {"a/b\\c", "a/b", "c"},
        {"", "", ""},
    };
    for (Case const& c : cases) {
        EXPECT_STREQ(c.folder, File::ExtractFilePath(c.path)) << c.path;
        EXPECT_STREQ(c.name, File::ExtractFileName(c.path)) << c.path;
    }
}

TEST(File, RestoresTheRecordedModificationTime)
{
    testutil::TempFolder tmp;
    std::string path = tmp.file("append.txt", "old");
    SetTime(path, 1000000);

    File file(path.c_str());
    EXPECT_FALSE(file.RestoreMTime()) << "no time recorded yet";
    ASSERT_TRUE(file.ReadTime());
    EXPECT_EQ(1000000, file.GetStat().st_mtime);

    tmp.file("append.txt", "new");
    SetTime(path, 2000000);
    EXPECT_TRUE(file.RestoreMTime());
    EXPECT_EQ(1000000, MTime(path));

    EXPECT_FALSE(File().ReadTime());
    EXPECT_FALSE(File(tmp.path("missing").c_str()).ReadTime());
}

TEST(File, SetMTimeReportsFailures)
{
    testutil::TempFolder tmp;
    std::string path = tmp.file("f", "");
    EXPECT_TRUE(File::SetMTime(path.c_str(), FileTime(1234567)));
    EXPECT_EQ(1234567, MTime(path));

    std::string missing = tmp.path("missing");
    testutil::Captured captured;
    EXPECT_FALSE(File::SetMTime(missing.c_str(), FileTime(0)));
    // A time that ctime cannot render must not crash the report.
    EXPECT_FALSE(File::SetMTime(missing.c_str(), FileTime(LLONG_MAX)));
    std::string out = captured.All();
    EXPECT_EQ(0u, out.find("utime ")) << out;
    EXPECT_NE(std::string::npos, out.find("failed: 2\n")) << out;
}

TEST(FileStat, ClearsTheRecordOnFailure)
{
    testutil::TempFolder tmp;
    FileStat record;
    EXPECT_TRUE(File::stat(tmp.path().c_str(), record));
    EXPECT_TRUE(record.is_dir());
    EXPECT_FALSE(record.stat(tmp.path("missing").c_str()));
    EXPECT_FALSE(record.is_dir());
    EXPECT_EQ(0, record.st_mtime);
    EXPECT_TRUE(record.stat(tmp.file("f").c_str()));
    EXPECT_FALSE(record.is_dir());
}

} // namespace
