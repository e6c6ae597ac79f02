#include "base/TextFile.h"

#include "../scanner/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using testutil::ReadFile;

void Write(std::string const& path, std::string const& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> Lines(StringArray const& lines)
{
    std::vector<std::string> result;
    for (int i = 0; i < lines.GetCount(); ++i)
        result.push_back(lines[i].GetBuffer());
    return result;
}

TEST(TextFile, LoadKeepsEveryByteOfALargeFile)
{
    testutil::TempFolder tmp;
    std::string bytes;
    for (int i = 0; i < 200000; ++i)
        bytes += static_cast<char>(i % 251);
    std::string path = tmp.path("big.bin");
    Write(path, bytes);

    TextFile file(path.c_str());
    ASSERT_TRUE(file.Load());
    ASSERT_EQ(bytes.size(), file.GetContent().GetLength());
    EXPECT_EQ(bytes, std::string(file.GetContent().GetBuffer(), file.GetContent().GetLength()));

    Str content("old");
    EXPECT_TRUE(TextFile::GetFileContent(path.c_str(), content));
    EXPECT_EQ(bytes.size(), content.GetLength());
}

TEST(TextFile, FailedLoadsLeaveTheContent)
{
    testutil::TempFolder tmp;
    std::string folder = tmp.folder("dir");
    TextFile file;
    EXPECT_FALSE(file.Save("kept", true, true)) << "no file name";
    EXPECT_FALSE(file.Load(tmp.path("missing").c_str()));
    EXPECT_STREQ("kept", file.GetContent());
    // A folder opens, but reading it fails: false, not an endless loop.
    EXPECT_FALSE(file.Load(folder.c_str()));
    EXPECT_STREQ("kept", file.GetContent());

    Str content("unchanged");
    StringArray lines;
    EXPECT_FALSE(TextFile::GetFileContent(tmp.path("missing").c_str(), content));
    EXPECT_FALSE(TextFile::GetFileContent(folder.c_str(), content));
    EXPECT_FALSE(TextFile::GetFileContent(folder.c_str(), lines));
    EXPECT_STREQ("unchanged", content);
    EXPECT_EQ(0, lines.GetCount());

    Write(tmp.path("empty"), "");
    EXPECT_TRUE(TextFile::GetFileContent(tmp.path("empty").c_str(), content));
    EXPECT_TRUE(content.IsEmpty());
}

TEST(TextFile, SaveFlags)
{
    testutil::TempFolder tmp;
    std::string path = tmp.path("out.txt");
    TextFile file(path.c_str());

    EXPECT_FALSE(file.Save("x", false, true)) << "missing file without create";
    EXPECT_TRUE(file.Save("", true, true));
    EXPECT_EQ("", ReadFile(path));

    // A save always replaces the whole file; no old tail survives.
    EXPECT_TRUE(file.Save("long old text", true, true));
    EXPECT_TRUE(file.Save("NEW", false, false));
    EXPECT_EQ("NEW", ReadFile(path));
    EXPECT_TRUE(file.Save("NEW", true, false));
    EXPECT_EQ("NEW", ReadFile(path));

    // A device without room takes nothing: the save fails.
    TextFile full("/dev/full");
    EXPECT_FALSE(full.Save("text", false, true));
    Str text64k(std::string(65536, 'x').c_str());
    EXPECT_FALSE(TextFile::WriteFileContent("/dev/full", text64k));

    Str text("whole");
    EXPECT_TRUE(TextFile::WriteFileContent(path.c_str(), text));
    EXPECT_EQ("whole", ReadFile(path));

    TextFile lines;
    lines.AddLine("a");
    lines.AddLine("b");
    EXPECT_STREQ("a\nb\n", lines.GetContent());
}

TEST(TextFile, GetLines)
{
    struct Case { std::string content; std::vector<std::string> lines; };
    Case const cases[] = {
        {"a\r\nb\n", {"a", "b", ""}},
        {"a\nb\r", {"a", "b\r"}},
        {"a\r\r\n\nb", {"a", "", "b"}},
        {"", {""}},
        {std::string("a\nb\0c\nd", 7), {"a", "b"}},
    };
    testutil::TempFolder tmp;
    for (Case const& c : cases) {
        std::string path = tmp.path("lines");
        Write(path, c.content);
        StringArray lines;
        lines.Add("before");
        ASSERT_TRUE(TextFile::GetFileContent(path.c_str(), lines));
        std::vector<std::string> expected = {"before"};
        expected.insert(expected.end(), c.lines.begin(), c.lines.end());
        EXPECT_EQ(expected, Lines(lines)) << c.content;
    }
}

} // namespace
