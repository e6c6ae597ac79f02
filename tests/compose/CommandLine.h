// Parses a command line (after the program name "mosa++") into the option
// singleton, keeping its console output out of the test's.
#pragma once

#include "base/Config.h"

#include "../Captured.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace testutil {

inline void SetCommandLine(std::vector<std::string> args)
{
    args.insert(args.begin(), "mosa++");
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(&arg[0]);
    argv.push_back(nullptr);
    testutil::Captured captured;
    Config::GetInstance().Init(static_cast<int>(args.size()), argv.data());
}

} // namespace testutil
