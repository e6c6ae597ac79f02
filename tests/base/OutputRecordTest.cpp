#include "base/OutputRecord.h"

#include "../scanner/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The record is one per process, as in a run: every test starts without one.
class ForgetRecordAfterEachTest : public testing::EmptyTestEventListener {
    void OnTestEnd(testing::TestInfo const&) override { OutputRecord::Reset(); }
};

bool const registered = [] {
    testing::UnitTest::GetInstance()->listeners().Append(new ForgetRecordAfterEachTest);
    return true;
}();

bool Exists(std::string const& path)
{
    struct stat record;
    return ::lstat(path.c_str(), &record) == 0;
}

TEST(OutputRecord, RecordsWhatItWritesAndSaysWhenTheRunFinished)
{
    testutil::TempFolder out;
    OutputRecord::SetOptions("noline=1");
    OutputRecord::Open(out.path().c_str());
    EXPECT_FALSE(OutputRecord::Found());

    out.folder("b");
    ASSERT_TRUE(OutputRecord::Write(out.path("b/X.h").c_str(), "x\n", 2));
    ASSERT_TRUE(OutputRecord::Write(out.path("A.h").c_str(), "a\n", 2));
    OutputRecord::Add("/elsewhere/Z.h"); // outside the folder: not recorded
    EXPECT_EQ("x\n", testutil::ReadFile(out.path("b/X.h")));
    EXPECT_FALSE(Exists(out.path("b/.X.h.mosa-new")));
    // While the run goes on, the record says so and already names the files.
    EXPECT_EQ("state running\noptions noline=1\nfile b/X.h\nfile A.h\n",
              testutil::ReadFile(out.path("mosac.record")));
    ASSERT_TRUE(OutputRecord::Finish());
    EXPECT_EQ("state complete\noptions noline=1\nfile A.h\nfile b/X.h\n",
              testutil::ReadFile(out.path("mosac.record")));

    OutputRecord::Reset();
    OutputRecord::Open(out.path().c_str());
    EXPECT_TRUE(OutputRecord::Found());
    EXPECT_FALSE(OutputRecord::WasInterrupted());
    EXPECT_EQ(std::string("noline=1"), OutputRecord::GetRecordedOptions().GetBuffer());
    EXPECT_TRUE(OutputRecord::Contains(out.path("b//X.h").c_str()));
    EXPECT_FALSE(OutputRecord::IsFromThisRun(out.path("b/X.h").c_str()));
}

TEST(OutputRecord, AFailedWriteMarksTheRunUnfinished)
{
    testutil::TempFolder out;
    OutputRecord::Open(out.path().c_str());
    EXPECT_FALSE(OutputRecord::Write(out.path("none/X.h").c_str(), "x", 1)) << "the folder is not made here";
    ASSERT_TRUE(OutputRecord::Finish());
    EXPECT_EQ("state failed\noptions \n", testutil::ReadFile(out.path("mosac.record")));
    OutputRecord::Reset();
    OutputRecord::Open(out.path().c_str());
    EXPECT_TRUE(OutputRecord::WasInterrupted());
}

TEST(OutputRecord, ReadsOnlyWholeLinesBelowTheFolder)
{
    testutil::TempFolder out;
    out.file("mosac.record", "state running\noptions o\nfile A.h\nfile ../escape.h\nfile /abs.h\nfile a/../../x\n"
                             "file a..b.h\nfile Cut.h");
    OutputRecord::Open(out.path().c_str());
    EXPECT_TRUE(OutputRecord::WasInterrupted());
    StringArray files;
    OutputRecord::GetFilesNotFromThisRun(files);
    ASSERT_EQ(2, files.GetCount());
    EXPECT_EQ(out.path("A.h"), files[0].GetBuffer());
    EXPECT_EQ(out.path("a..b.h"), files[1].GetBuffer());
}

TEST(OutputRecord, RemovesOnlyRecordedFilesAndTheirTemporaries)
{
    testutil::TempFolder out;
    out.file("mosac.record", "state complete\noptions \nfile Old.h\nfile Kept.h\n");
    out.file("Old.h", "old");
    out.file(".Old.h.mosa-new", "half");
    out.file("Kept.h", "kept");
    out.file("User.h", "the user's");
    OutputRecord::Open(out.path().c_str());
    EXPECT_FALSE(OutputRecord::Remove(out.path("User.h").c_str()));
    OutputRecord::Add(out.path("Kept.h").c_str()); // made again by this run
    OutputRecord::RemoveAllButThisRun();
    EXPECT_FALSE(Exists(out.path("Old.h")));
    EXPECT_FALSE(Exists(out.path(".Old.h.mosa-new")));
    EXPECT_TRUE(Exists(out.path("Kept.h")));
    EXPECT_TRUE(Exists(out.path("User.h")));
    ASSERT_TRUE(OutputRecord::Finish());
    EXPECT_EQ("state complete\noptions \nfile Kept.h\n", testutil::ReadFile(out.path("mosac.record")));
}

TEST(OutputRecord, AReplacedFileKeepsItsPermissionsAndALinkIsReplacedNotFollowed)
{
    testutil::TempFolder out;
    std::string path = out.file("X.sh", "old");
    ASSERT_EQ(0, ::chmod(path.c_str(), 0750));
    std::string target = out.file("target", "must stay");
    ASSERT_EQ(0, ::symlink(target.c_str(), out.path("L.h").c_str()));
    OutputRecord::Open(out.path().c_str());
    ASSERT_TRUE(OutputRecord::Write(path.c_str(), "new", 3));
    ASSERT_TRUE(OutputRecord::Write(out.path("L.h").c_str(), "new", 3));
    struct stat record;
    ASSERT_EQ(0, ::stat(path.c_str(), &record));
    EXPECT_EQ(0750u, record.st_mode & 07777);
    EXPECT_EQ("must stay", testutil::ReadFile(target));
    ASSERT_EQ(0, ::lstat(out.path("L.h").c_str(), &record));
    EXPECT_TRUE(S_ISREG(record.st_mode));
}

} // namespace

TEST(OutputRecord, FinishForgetsFilesThatAreGoneWhereverTheyLay)
{
    testutil::TempFolder out;
    out.file("mosac.record", "state complete\noptions \nfile A.h\nfile Gone.h\nfile b/B.h\nfile b/Gone.h\n"
                             "file c/C.h\nfile d/D.h\nfile Link.h\n");
    out.folder("b");
    out.file("b/B.h", "b");
    out.file("d", "a file where the folder was"); // d/D.h cannot be asked: kept
    ASSERT_EQ(0, ::symlink("nowhere", out.path("Link.h").c_str())); // a dangling link is there
    OutputRecord::Open(out.path().c_str());
    ASSERT_TRUE(OutputRecord::Write(out.path("A.h").c_str(), "a", 1));
    ASSERT_TRUE(OutputRecord::Finish());
    EXPECT_EQ("state complete\noptions \nfile A.h\nfile Link.h\nfile b/B.h\nfile d/D.h\n",
              testutil::ReadFile(out.path("mosac.record")));
}
