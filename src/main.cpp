// Entry point of mosa++: installs the code generator for the composition
// and runs it; the exit code is the application's.
#include "compose/Application.h"
#include "compose/CodeGenerator.h"
#include "output/OutputGenerator.h"
#include "scanner/BlockPool.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    static OutputGenerator generator;
    CodeGenerator::Install(&generator);
    int code = Application::GetInstance()->Run(argc, argv);
#ifndef LEX_ADDRESS_SANITIZER
    // Every file of the run is written and closed by now. Freeing the model
    // object by object would only cost time, so the system takes it back
    // whole; the sanitizer builds free it, so that leaks still show.
    std::fflush(nullptr);
    std::_Exit(code);
#endif
    return code;
}
