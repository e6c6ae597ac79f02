// The tests compose with the tool's own code generator, installed before
// any test runs as main.cpp installs it for a run.
#include "compose/CodeGenerator.h"
#include "output/OutputGenerator.h"

namespace {

struct InstallGenerator {
    InstallGenerator()
    {
        static OutputGenerator generator;
        CodeGenerator::Install(&generator);
    }
} g_Install;

} // namespace
