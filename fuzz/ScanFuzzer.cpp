// Feeds arbitrary bytes to the scanner through a module file, the way the
// composition driver scans modules, and checks the token list it builds.
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, size_t size)
{
    std::string path = fuzz::WriteModule("Fuzz.h", data, size);
    std::ostringstream messages;
    Lex::ErrorStream errors(messages);
    Lex::FileUnit unit;
    fuzz::ScanModule(path, unit, errors);
    fuzz::CheckTokenList(unit);
    return 0;
}
