// Front-end throughput: scans a generated module of realistic C++ (or the
// files given on the command line) several times, then parses the scanned
// units, and reports bytes and tokens per second for each stage.
//   FrontEndBench [repetitions] [file...]
#include "compose/ParseProject.h"
#include "parser/SimpleCPPParser.h"
#include "parser/SimpleTU.h"
#include "scanner/CScanner.h"
#include "scanner/ErrorStream.h"
#include "scanner/FdSource.h"
#include "scanner/FileUnit.h"
#include "scanner/Token.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string GenerateModule(int classes)
{
    std::ostringstream os;
    os << "#ifndef GEN_H\n#define GEN_H\n#include <vector>\n\n";
    for (int i = 0; i < classes; ++i) {
        os << "/* Class number " << i << " with a few members. */\n"
           << "refines class C" << i << " : public Base<int, char>, protected Mixin {\n"
           << "public:\n"
           << "    C" << i << "() : m_value(" << i << "), m_ratio(1.5e+3f) {}\n"
           << "    virtual ~C" << i << "() {}\n"
           << "    int get(int x) const { return m_value * x + 0x1F; } // accessor\n"
           << "    void set(int v) { if (v != m_value && v >= 0) super::set(v); }\n"
           << "    static char const* name() { return \"C" << i << "\\n\"; }\n"
           << "private:\n"
           << "    int m_value;\n    float m_ratio;\n"
           << "};\n\n";
    }
    os << "#endif\n";
    return os.str();
}

std::string WriteTemp(std::string const& text)
{
    char path[] = "/tmp/mosa-bench-XXXXXX";
    int fd = ::mkstemp(path);
    if (fd < 0 || ::write(fd, text.data(), text.size()) != ssize_t(text.size())) {
        std::perror("bench input");
        std::exit(1);
    }
    ::close(fd);
    return path;
}

} // namespace

int main(int argc, char** argv)
{
    int reps = argc > 1 ? std::atoi(argv[1]) : 20;
    if (reps < 1)
        reps = 1;
    std::vector<std::string> files;
    std::string generated;
    for (int i = 2; i < argc; ++i)
        files.push_back(argv[i]);
    if (files.empty()) {
        generated = WriteTemp(GenerateModule(2000));
        files.push_back(generated);
    }

    std::ostringstream messages;
    ParseProject project(messages);
    Lex::CScanner scanner(project.GetErrorStream());
    scanner.aspect_keywords(true);

    // Units and parse results live to the end of the run, as in the tool.
    std::vector<Lex::FileUnit*> units;
    size_t tokens = 0, bytes = 0;
    auto start = std::chrono::steady_clock::now();
    for (int r = 0; r < reps; ++r) {
        for (std::string const& file : files) {
            Lex::FileUnit* unit = new Lex::FileUnit;
            units.push_back(unit);
            unit->name(file.c_str());
            int fd = ::open(file.c_str(), O_RDONLY);
            if (fd < 0) {
                std::perror(file.c_str());
                return 1;
            }
            Lex::FileSource source(fd);
            bytes += size_t(source.size());
            scanner.fill_unit(source, *unit);
            for (Lex::Token* t = unit->first(); t; t = t->next())
                ++tokens;
        }
    }
    double scanSecs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    // One parser for every unit, as the composition driver uses it.
    SimpleCPPParser parser;
    int failed = 0;
    start = std::chrono::steady_clock::now();
    for (Lex::FileUnit* unit : units) {
        if (!parser.parse(*unit, project))
            ++failed;
    }
    double parseSecs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!generated.empty())
        ::unlink(generated.c_str());

    std::printf("scan:  %zu bytes, %zu tokens in %.3f s: %.1f MB/s, %.2f M tokens/s (%zu bytes per token)\n",
                bytes, tokens, scanSecs, bytes / scanSecs / 1e6, tokens / scanSecs / 1e6, sizeof(Lex::Token));
    std::printf("parse: %zu units (%d failed) in %.3f s: %.2f M tokens/s\n",
                units.size(), failed, parseSecs, tokens / parseSecs / 1e6);
    return 0;
}
