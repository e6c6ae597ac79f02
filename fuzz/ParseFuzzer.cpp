// Scans arbitrary bytes as a module file and parses the token list with the
// structural parser. The first byte picks the file kind, so that both the
// C++ and the Java-like modes are exercised; the rest is the module.
#include "FuzzInput.h"

#include "compose/ParseProject.h"
#include "parser/SimpleCPPParser.h"
#include "parser/SimpleTU.h"

namespace {

char const* const kModuleNames[] = {"Fuzz.h", "Fuzz.jak", "Fuzz.ah", "Fuzz.java"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, size_t size)
{
    char const* name = kModuleNames[size ? data[0] % 4 : 0];
    if (size) {
        ++data;
        --size;
    }
    std::string path = fuzz::WriteModule(name, data, size);
    std::ostringstream messages;
    ParseProject project(messages);
    Lex::FileUnit unit;
    fuzz::ScanModule(path, unit, project.GetErrorStream());

    // A fresh parser per input keeps the project database from growing
    // across iterations; the tool itself reuses one for every module.
    SimpleCPPParser parser;
    delete parser.parse(unit, project);
    fuzz::CheckTokenList(unit);
    return 0;
}
