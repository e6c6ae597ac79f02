// Hands the scanner's console texts to the diagnostics engine: the lines of
// its console error streams with the kind their severity gives, its last
// words and its notes.
#pragma once

#include "scanner/MessageOutput.h"

class ScannerMessages : public Lex::MessageOutput {
public:
    void message(Lex::ErrorSeverity const& severity, std::string const& line) override;
    void failure(std::string const& text) override;
    void note(std::string const& text) override;

    // Installs the one instance as the scanner's output.
    static void Install();
};
