#include "compose/CodeGenerator.h"

#include "base/Diagnostics.h"

#include <cstdlib>

namespace {

CodeGenerator* g_pGenerator = nullptr;

} // namespace

CodeGenerator& CodeGenerator::Get()
{
    if (!g_pGenerator) {
        Diagnostics::Report(DiagKind::Failure, DiagStream::Err, DiagFlush::After,
                            "mosa++: internal error: no code generator installed\n");
        std::abort();
    }
    return *g_pGenerator;
}

void CodeGenerator::Install(CodeGenerator* generator)
{
    g_pGenerator = generator;
}
