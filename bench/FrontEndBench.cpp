// Front-end throughput and scaling.
//   FrontEndBench                      throughput, then scaling up to 16,000 classes
//   FrontEndBench repetitions [file...] throughput only: scans a generated module
//                                      of realistic C++ (or the files given)
//                                      several times, then parses the units
//   FrontEndBench --scaling [classes]  scaling only, up to the given class count
// Throughput reports bytes and tokens per second for each stage. Scaling
// reports the parse time of N classes for N = 1,000, 2,000, ... in one file
// and in N one-class files (one parser, as in a composition run), each with
// its ratio to the time of N/2; parsing twice the classes should cost at most
// 2.5 times as much. Scaling times are user CPU times of the parse alone,
// the best of three, so that other work on the machine disturbs them little.
// The figures are reported, never asserted.
#include "compose/ParseProject.h"
#include "parser/SimpleCPPParser.h"
#include "parser/SimpleTU.h"
#include "scanner/CScanner.h"
#include "scanner/ErrorStream.h"
#include "scanner/FdSource.h"
#include "scanner/FileUnit.h"
#include "scanner/Token.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

double const ScalingLimit = 2.5;

// One class of the generated modules, its names starting with prefix.
void GenerateClass(std::ostringstream& os, std::string const& prefix, int i)
{
    std::string name = prefix + "C" + std::to_string(i);
    os << "/* Class number " << i << " with a few members. */\n"
       << "refines class " << name << " : public Base<int, char>, protected Mixin {\n"
       << "public:\n"
       << "    " << name << "() : m_value(" << i << "), m_ratio(1.5e+3f) {}\n"
       << "    virtual ~" << name << "() {}\n"
       << "    int get(int x) const { return m_value * x + 0x1F; } // accessor\n"
       << "    void set(int v) { if (v != m_value && v >= 0) super::set(v); }\n"
       << "    static char const* name() { return \"" << name << "\\n\"; }\n"
       << "private:\n"
       << "    int m_value;\n    float m_ratio;\n"
       << "};\n\n";
}

std::string GenerateModule(int classes, std::string const& prefix = "")
{
    std::ostringstream os;
    os << "#ifndef GEN_H\n#define GEN_H\n#include <vector>\n\n";
    for (int i = 0; i < classes; ++i)
        GenerateClass(os, prefix, i);
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

double Since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The process's user CPU time: the kernel's time for page faults (which
// copying a measurement's process adds) does not count, nor do other
// programs.
double CpuSeconds()
{
    rusage usage;
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec) + double(usage.ru_utime.tv_usec) / 1e6;
}

int Throughput(int reps, std::vector<std::string> files)
{
    std::string generated;
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
    double scanSecs = Since(start);

    // One parser for every unit, as the composition driver uses it.
    SimpleCPPParser parser;
    int failed = 0;
    start = std::chrono::steady_clock::now();
    for (Lex::FileUnit* unit : units) {
        if (!parser.parse(*unit, project))
            ++failed;
    }
    double parseSecs = Since(start);
    if (!generated.empty())
        ::unlink(generated.c_str());

    std::printf("scan:  %zu bytes, %zu tokens in %.3f s: %.1f MB/s, %.2f M tokens/s (%zu bytes per token)\n",
                bytes, tokens, scanSecs, bytes / scanSecs / 1e6, tokens / scanSecs / 1e6, sizeof(Lex::Token));
    std::printf("parse: %zu units (%d failed) in %.3f s: %.2f M tokens/s\n",
                units.size(), failed, parseSecs, tokens / parseSecs / 1e6);
    return 0;
}

// What a measurement in a child process hands back.
struct Result {
    double seconds;
    int failed;
};

// Runs measure in a child process and returns its result, so that every
// measurement starts from the same state of the heap and of the name
// registries, as a composition run does, and nothing one measurement leaves
// behind burdens the next.
template <class Measure>
Result InChild(Measure measure)
{
    Result result = {0, 1};
    int channel[2];
    if (::pipe(channel) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    std::fflush(stdout);
    pid_t child = ::fork();
    if (child < 0) {
        std::perror("fork");
        std::exit(1);
    }
    if (child == 0) {
        ::close(channel[0]);
        Result own = measure();
        ssize_t written = ::write(channel[1], &own, sizeof own);
        ::_exit(written == ssize_t(sizeof own) ? 0 : 1);
    }
    ::close(channel[1]);
    if (::read(channel[0], &result, sizeof result) != ssize_t(sizeof result))
        std::fprintf(stderr, "a measurement failed\n");
    ::close(channel[0]);
    ::waitpid(child, nullptr, 0);
    return result;
}

// Parses the units with one new parser; the parse's CPU time.
Result Parse(std::vector<Lex::FileUnit*> const& units, ParseProject& project)
{
    SimpleCPPParser* parser = new SimpleCPPParser;
    Result own = {0, 0};
    double start = CpuSeconds();
    for (Lex::FileUnit* unit : units)
        if (!parser->parse(*unit, project))
            ++own.failed;
    own.seconds = CpuSeconds() - start;
    return own;
}

// Parse time of n classes: in one file, or in n one-class files. The units
// are scanned once (untimed) and parsed in separate processes; the best of
// several parses counts, against the noise of a busy machine.
Result MeasureClasses(int n, bool oneFile)
{
    std::vector<std::string> texts, names;
    if (oneFile) {
        texts.push_back(GenerateModule(n));
        names.push_back("gen/all.h");
    } else {
        for (int i = 0; i < n; ++i) {
            std::ostringstream os;
            GenerateClass(os, "", i);
            texts.push_back(os.str());
            names.push_back("gen/C" + std::to_string(i) + ".h");
        }
    }
    std::ostringstream messages;
    ParseProject project(messages);
    Lex::CScanner scanner(project.GetErrorStream());
    scanner.aspect_keywords(true);
    std::vector<Lex::FileUnit*> units;
    for (size_t i = 0; i < texts.size(); ++i) {
        Lex::FileUnit* unit = new Lex::FileUnit;
        unit->name(names[i].c_str());
        scanner.fill_unit(texts[i].c_str(), *unit);
        units.push_back(unit);
    }

    int const rounds = 3;
    Result best = {0, 0};
    for (int r = 0; r < rounds; ++r) {
        Result round = InChild([&] { return Parse(units, project); });
        if (r == 0 || round.seconds < best.seconds)
            best = round;
    }
    return best;
}

int Scaling(int maxClasses)
{
    std::printf("scaling: parse time of N classes; x = ratio to N/2, at most %.1f holds\n", ScalingLimit);
    bool holds = true;
    int failed = 0;
    for (bool oneFile : {true, false}) {
        double previous = 0;
        for (int n = 1000; n <= maxClasses; n *= 2) {
            // Every size is scanned in a process of its own as well.
            Result measured = InChild([&] { return MeasureClasses(n, oneFile); });
            double seconds = measured.seconds;
            failed += measured.failed;
            std::printf("  %-16s %6d classes: %8.3f s", oneFile ? "one file" : "one-class files", n, seconds);
            if (previous > 0) {
                double ratio = seconds / previous;
                std::printf("  x%.2f%s", ratio, ratio <= ScalingLimit ? "" : "  (exceeds the limit)");
                if (ratio > ScalingLimit)
                    holds = false;
            }
            std::printf("\n");
            std::fflush(stdout);
            previous = seconds;
        }
    }
    if (failed)
        std::printf("scaling: %d parses failed\n", failed);
    std::printf("scaling check: %s\n", holds ? "holds" : "does not hold");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--scaling") == 0)
        return Scaling(argc > 2 ? std::max(1000, std::atoi(argv[2])) : 16000);
    if (argc > 1) {
        int reps = std::max(1, std::atoi(argv[1]));
        return Throughput(reps, std::vector<std::string>(argv + 2, argv + argc));
    }
    int status = Throughput(3, {});
    return status ? status : Scaling(16000);
}
