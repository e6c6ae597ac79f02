// Feeds arbitrary bytes to the scanner through a module file and checks that
// the token list is complete: the token texts cover the input.
#include "FuzzInput.h"

#include "scanner/Token.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, size_t size)
{
    std::string path = fuzz::WriteModule("Fuzz.h", data, size);
    std::ostringstream messages;
    Lex::ErrorStream errors(messages);
    Lex::FileUnit unit;
    fuzz::ScanModule(path, unit, errors);

    // Every token is linked both ways and carries a text.
    Lex::Token* prev = nullptr;
    for (Lex::Token* t = unit.first(); t; t = t->next()) {
        if (t->prev() != prev || !t->text || !t->text->text)
            std::abort();
        prev = t;
    }
    if (prev != unit.last())
        std::abort();
    return 0;
}
