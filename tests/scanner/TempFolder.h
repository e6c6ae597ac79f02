// A temporary folder for file-system tests, removed with everything in it.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <ftw.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace testutil {

// The whole content of a file; empty when it cannot be read.
inline std::string ReadFile(std::string const& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class TempFolder {
public:
    TempFolder()
    {
        char const* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/mosa-test-XXXXXX";
        std::vector<char> text(pattern.begin(), pattern.end());
        text.push_back('\0');
        if (char* made = ::mkdtemp(text.data())) {
            char* real = ::realpath(made, nullptr);
            m_path = real ? real : made;
            std::free(real);
        }
        EXPECT_FALSE(m_path.empty()) << "mkdtemp failed";
    }
    ~TempFolder()
    {
        if (!m_path.empty())
            ::nftw(m_path.c_str(), remove_entry, 16, FTW_DEPTH | FTW_PHYS);
    }

    std::string const& path() const { return m_path; }
    // The absolute path of name below the folder.
    std::string path(std::string const& name) const { return m_path + "/" + name; }

    std::string file(std::string const& name, std::string const& content = "") const
    {
        std::string full = path(name);
        std::ofstream(full) << content;
        return full;
    }
    std::string folder(std::string const& name) const
    {
        std::string full = path(name);
        EXPECT_EQ(0, ::mkdir(full.c_str(), 0777)) << full;
        return full;
    }
    std::string link(std::string const& name, std::string const& target) const
    {
        std::string full = path(name);
        EXPECT_EQ(0, ::symlink(target.c_str(), full.c_str())) << full;
        return full;
    }

private:
    TempFolder(TempFolder const&) = delete;
    TempFolder& operator=(TempFolder const&) = delete;

    static int remove_entry(char const* path, struct stat const*, int, FTW*)
    {
        return ::remove(path);
    }

    std::string m_path;
};

} // namespace testutil
