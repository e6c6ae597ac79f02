#include "scanner/FdSource.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

bool is_open(int fd)
{
    return ::fcntl(fd, F_GETFD) != -1;
}

TEST(FdSource, ReadsAndSizesWithoutOwningTheDescriptor)
{
    testutil::TempFolder tmp;
    std::string path = tmp.file("a.h", "int x;\n");
    int fd = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    {
        Lex::FdSource source(fd);
        EXPECT_EQ(7, source.size());
        char buf[4];
        EXPECT_EQ(4, source.read(buf, 4));
        EXPECT_EQ("int ", std::string(buf, 4));
        EXPECT_EQ(3, source.read(buf, 4));
        EXPECT_EQ(0, source.read(buf, 4));
        EXPECT_LT(source.read(buf, -1), 0);
    }
    EXPECT_TRUE(is_open(fd));
    ::close(fd);
}

TEST(FdSource, UnreadableDescriptorGivesFailures)
{
    Lex::FdSource none;
    EXPECT_EQ(-1, none.fd());
    EXPECT_EQ(-1, none.size());
    char buf[4];
    EXPECT_LT(none.read(buf, 4), 0);
}

TEST(FileSource, OwnsAndClosesItsDescriptor)
{
    testutil::TempFolder tmp;
    std::string path = tmp.file("a.h", "abc");
    int first = ::open(path.c_str(), O_RDONLY);
    int second = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(first, 0);
    ASSERT_GE(second, 0);
    {
        Lex::FileSource source;       // made empty, given its descriptor later
        EXPECT_EQ(-1, source.size());
        source.fd(first);
        EXPECT_EQ(3, source.size());
        source.fd(second);            // the first one is closed, not leaked
        EXPECT_FALSE(is_open(first));
        EXPECT_TRUE(is_open(second));
        char buf[8];
        EXPECT_EQ(3, source.read(buf, 8));
    }
    EXPECT_FALSE(is_open(second));
}

} // namespace
