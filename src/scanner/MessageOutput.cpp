#include "scanner/MessageOutput.h"

#include <cstdio>

namespace Lex {

namespace {

class DirectOutput : public MessageOutput {
public:
    void message(ErrorSeverity const&, std::string const& line) override
    {
        std::fflush(stdout);
        std::fwrite(line.data(), 1, line.size(), stderr);
    }
    void failure(std::string const& text) override { std::fwrite(text.data(), 1, text.size(), stderr); }
    void note(std::string const& text) override { std::fwrite(text.data(), 1, text.size(), stdout); }
};

MessageOutput* s_output = nullptr;

} // namespace

void message_output(MessageOutput* output)
{
    s_output = output;
}

MessageOutput& message_output()
{
    // Never destroyed: texts may come while the process ends.
    static MessageOutput* direct = new DirectOutput;
    return s_output ? *s_output : *direct;
}

} // namespace Lex
