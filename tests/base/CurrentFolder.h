// Enters a folder for the length of a test and returns to the previous one.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace testutil {

class CurrentFolder {
public:
    explicit CurrentFolder(std::string const& folder)
    {
        if (char* cwd = ::getcwd(nullptr, 0)) {
            m_previous = cwd;
            std::free(cwd);
        }
        EXPECT_EQ(0, ::chdir(folder.c_str())) << folder;
    }
    ~CurrentFolder() { EXPECT_EQ(0, ::chdir(m_previous.c_str())); }

    static std::string Get()
    {
        std::string text;
        if (char* cwd = ::getcwd(nullptr, 0)) {
            text = cwd;
            std::free(cwd);
        }
        return text;
    }

private:
    CurrentFolder(CurrentFolder const&) = delete;
    CurrentFolder& operator=(CurrentFolder const&) = delete;

    std::string m_previous;
};

} // namespace testutil
