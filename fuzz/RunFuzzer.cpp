// Fuzzes a whole composition run. The input bytes are decoded into a small
// product line -- an equation with layer lines and keywords, a few layer
// folders, module files put together from fragments of valid and broken C++
// (refinements, super calls, mixins, constructors, templates) and raw bytes --
// in a private temporary folder, which is then composed, and sometimes edited
// and composed again.
//
// The tool keeps its state in process-wide objects (the project, the
// configuration, the log) that live until the process ends, so each run
// happens in a forked child: every run starts from a clean process, exactly
// like the tool. The child hands its coverage counters back through shared
// memory, so the fuzzer still sees what the run reached. The parent aborts
// (and the input is kept) when a child crashes, reports a sanitizer error,
// leaves a broken token list, or when anything outside the output folder
// changed: the source tree (apart from the link files the tool keeps beside
// links), the current folder, or the temporary folder around them.
#include "FuzzInput.h"

#include "base/FileName.h"
#include "compose/Application.h"
#include "compose/CodeGenerator.h"
#include "compose/FopParseProject.h"
#include "compose/Module.h"
#include "output/OutputGenerator.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <elf.h>
#include <link.h>
#include <functional>
#include <map>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <vector>

namespace {

char const* const kLayers[] = {"A", "B", "C", "D", "E/F"};
char const* const kClasses[] = {"Stack", "Node", "List", "Calc"};
char const* const kExtensions[] = {".h", ".h", ".h", ".h", ".jak", ".ah", ".java", ".cpp", ".c", ".txt", ".hpp", ".ico"};

// Words after a layer name on its equation line.
char const* const kLayerWords[] = {"dynamiclink", "dynamicload", "bindingunit U1", "bindingunit U2", "FEATURE",
                                   "bindingunit", "dynamiclink dynamicload", "x y z"};

// Whole equation lines besides the layer lines.
char const* const kEquationLines[] = {"# a comment", "; another", "// and one more", "", "import sub",
                                      "import sub as .", "import sub as P", "import prod", "compose static",
                                      "missing", "A.B", "../src/A", "/", "import", "import missing as ."};

// Module fragments: '$' stands for the module's class, '#' for another one.
char const* const kFragments[] = {
    "class $ {\n", "refines class $ {\n", "class $ : public # {\n", "class $ : mixin # {\n",
    "class $ : public #, mixin # {\n", "refines class $ : mixin # {\n", "template <class T> class $ {\n",
    "template <class T>\nrefines class $ {\n", "struct $ {\n", "};\n", "}\n", "{\n", "public:\n", "private:\n",
    "protected:\n", "int x;\n", "# *m_p;\n", "static int s_count;\n", "$() {}\n", "$() : x(0) {}\n",
    "$(int a) : #(a), x(a) {}\n", "~$() {}\n", "virtual ~$();\n", "void f() { super::f(); }\n",
    "void f();\n", "int g(int a) { return super::g(a) + 1; }\n", "int g(int a) const { return a; }\n",
    "$(int a) { super::$(a); }\n", "void $::f() {}\n", "$::$() {}\n", "int $::g(int a) { return a; }\n",
    "template <class T> void h(T t) { super::h<T>(t); }\n", "operator int() const { return x; }\n",
    "$& operator=($ const&);\n", "struct Inner { int y; };\n", "enum E { a, b };\n", "friend class #;\n",
    "virtual void v() = 0;\n", "typedef int T;\n", "using U = int;\n", "#include \"#.h\"\n",
    "#include <vector>\n", "#define M(x) x\n", "#ifdef X\n", "#endif\n", "namespace N {\n", "layer A;\n",
    "// comment\n", "/* unterminated", "\"string", "'c'", "R\"(raw)\"", "(", ")", "[", "]", ";", "<", ">",
    "::", "super", "refines", "mixin", "$", "#", "\\\n", "\n", "\t", "extern \"C\" {\n",
    "aspect $ {\n", "pointcut p() = call(\"% f(...)\");\n", "advice p() : before() {}\n",
    "package p;\n", "import java.util.*;\n", "public class $ {\n", "refines class $ extends # {\n",
    "Super().f();\n", "void m() { Super().m(); }\n"};

std::string g_Tool;
std::string g_Work;
// The program's coverage counters, and the shared copy a child leaves.
uint8_t* g_CounterStart;
uint8_t* g_Counters;
size_t g_CounterSize;

// Finds the program's section of coverage counters in its own file; the
// linker's bound symbols cannot be named here without keeping the fuzzer
// from registering the section.
void FindCounters()
{
    FILE* file = fopen("/proc/self/exe", "rb");
    if (!file)
        return;
    Elf64_Ehdr header;
    std::vector<Elf64_Shdr> sections;
    if (fread(&header, sizeof header, 1, file) == 1 && header.e_shentsize == sizeof(Elf64_Shdr)) {
        sections.resize(header.e_shnum);
        if (fseek(file, long(header.e_shoff), SEEK_SET) != 0 ||
            fread(sections.data(), sizeof(Elf64_Shdr), sections.size(), file) != sections.size())
            sections.clear();
    }
    std::vector<char> names;
    if (header.e_shstrndx < sections.size()) {
        Elf64_Shdr const& table = sections[header.e_shstrndx];
        names.resize(table.sh_size + 1);
        if (fseek(file, long(table.sh_offset), SEEK_SET) != 0 || fread(names.data(), 1, table.sh_size, file) != table.sh_size)
            names.clear();
    }
    fclose(file);
    uintptr_t bias = 0;
    dl_iterate_phdr([](dl_phdr_info* info, size_t, void* data) {
        *static_cast<uintptr_t*>(data) = info->dlpi_addr;
        return 1; // the first entry is the program
    }, &bias);
    for (auto const& section : sections)
        if (section.sh_name < names.size() && strcmp(&names[section.sh_name], "__sancov_cntrs") == 0) {
            g_CounterStart = reinterpret_cast<uint8_t*>(bias + section.sh_addr);
            g_CounterSize = section.sh_size;
        }
}

void Fail(char const* what, std::string const& detail = std::string())
{
    fprintf(stderr, "RunFuzzer: %s %s\n", what, detail.c_str());
    std::abort();
}

void WriteFile(std::string const& path, std::string const& text)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        Fail("cannot write", path);
    fwrite(text.data(), 1, text.size(), file);
    fclose(file);
}

void SetTime(std::string const& path, time_t t)
{
    timespec times[2] = {{t, 0}, {t, 0}};
    utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
}

void MakeFolders(std::string const& path)
{
    for (size_t at = 1; at <= path.size(); ++at)
        if (at == path.size() || path[at] == '/')
            mkdir(path.substr(0, at).c_str(), 0777);
}

void RemoveTree(std::string const& path)
{
    struct stat info;
    if (lstat(path.c_str(), &info) != 0)
        return;
    if (S_ISDIR(info.st_mode)) {
        if (DIR* dir = opendir(path.c_str())) {
            std::vector<std::string> names;
            while (dirent* entry = readdir(dir))
                if (strcmp(entry->d_name, ".") && strcmp(entry->d_name, ".."))
                    names.push_back(entry->d_name);
            closedir(dir);
            for (auto const& name : names)
                RemoveTree(path + "/" + name);
        }
        rmdir(path.c_str());
    } else {
        unlink(path.c_str());
    }
}

// What a tree holds: per relative path its kind, link text or content, and
// time. The folder skip (relative) is left out.
using Snapshot = std::map<std::string, std::string>;

void TakeSnapshot(std::string const& root, std::string const& rel, std::string const& skip, Snapshot& snap)
{
    std::string path = rel.empty() ? root : root + "/" + rel;
    struct stat info;
    if (lstat(path.c_str(), &info) != 0)
        return;
    std::string record;
    if (S_ISLNK(info.st_mode)) {
        std::vector<char> text(4096);
        ssize_t n = readlink(path.c_str(), text.data(), text.size());
        record = "link:" + std::string(text.data(), n > 0 ? size_t(n) : 0);
    } else if (S_ISDIR(info.st_mode)) {
        record = "dir";
        std::vector<std::string> names;
        if (DIR* dir = opendir(path.c_str())) {
            while (dirent* entry = readdir(dir))
                if (strcmp(entry->d_name, ".") && strcmp(entry->d_name, ".."))
                    names.push_back(entry->d_name);
            closedir(dir);
        }
        for (auto const& name : names) {
            std::string child = rel.empty() ? name : rel + "/" + name;
            if (child != skip)
                TakeSnapshot(root, child, skip, snap);
        }
    } else {
        std::string content;
        if (FILE* file = fopen(path.c_str(), "rb")) {
            char buffer[4096];
            size_t n;
            while ((n = fread(buffer, 1, sizeof buffer, file)) > 0)
                content.append(buffer, n);
            fclose(file);
        }
        record = "file:" + std::to_string(info.st_mtime) + ":" + content;
    }
    snap[rel] = record;
}

bool EndsWith(std::string const& text, char const* end)
{
    size_t n = strlen(end);
    return text.size() >= n && text.compare(text.size() - n, n, end) == 0;
}

// Differences allowed in the source tree: the tool's own link files
// "<name>.link" beside links (written, or removed when empty), and a
// symbolic link made from such a file.
bool AllowedChange(std::string const& path, Snapshot const& after)
{
    if (EndsWith(path, ".link"))
        return true;
    auto link = after.find(path);
    return link != after.end() && link->second.compare(0, 5, "link:") == 0 && after.count(path + ".link");
}

void CompareSnapshots(Snapshot const& before, Snapshot const& after)
{
    for (auto const& entry : before) {
        auto found = after.find(entry.first);
        if ((found == after.end() || found->second != entry.second) && !AllowedChange(entry.first, after))
            Fail(found == after.end() ? "source entry removed:" : "source entry changed:", entry.first);
    }
    for (auto const& entry : after)
        if (!before.count(entry.first) && !AllowedChange(entry.first, after))
            Fail("source entry added:", entry.first);
}

// Runs the tool with args in a forked child whose current folder is cwd;
// the child then checks the token lists of every module.
void RunChild(std::vector<std::string> const& args, std::string const& cwd)
{
    std::string errors = g_Work + "/child.err";
    fflush(stdout);
    fflush(stderr);
    pid_t pid = fork();
    if (pid < 0)
        Fail("fork failed");
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (!getenv("RUNFUZZ_VERBOSE")) {
            int null = open("/dev/null", O_WRONLY);
            int err = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
            dup2(null, 1);
            dup2(err, 2);
        }
        if (chdir(cwd.c_str()) != 0)
            _exit(3);
        std::vector<char*> argv;
        for (auto const& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        static OutputGenerator generator;
        CodeGenerator::Install(&generator);
        Application::GetInstance()->Run(int(args.size()), argv.data());
        Array<Module*> const& modules = FopParseProject::GetInstance()->GetModules();
        for (int i = 0; i < modules.GetCount(); ++i)
            for (ParseUnit* unit : {&modules[i]->GetDecl(), &modules[i]->GetImpl()})
                if (unit->GetUnit())
                    fuzz::CheckTokenList(*unit->GetUnit());
        if (g_Counters)
            memcpy(g_Counters, g_CounterStart, g_CounterSize);
        fflush(stdout);
        _exit(0);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        if (g_Counters)
            memcpy(g_CounterStart, g_Counters, g_CounterSize);
        return;
    }
    // Hand the child's report on before failing.
    if (FILE* file = fopen(errors.c_str(), "rb")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, file)) > 0)
            fwrite(buffer, 1, n, stderr);
        fclose(file);
    }
    Fail(WIFSIGNALED(status) ? "run died of signal" : "run failed with exit code",
         std::to_string(WIFSIGNALED(status) ? WTERMSIG(status) : WEXITSTATUS(status)));
}

std::string Replace(std::string text, std::string const& self, std::string const& other)
{
    std::string out;
    for (char c : text) {
        if (c == '$')
            out += self;
        else if (c == '#')
            out += other;
        else
            out += c;
    }
    return out;
}

// A module text: fragments and raw bytes.
std::string MakeModule(FuzzedDataProvider& in, std::string const& self)
{
    std::string text;
    int parts = in.ConsumeIntegralInRange(0, 14);
    for (int i = 0; i < parts && in.remaining_bytes(); ++i) {
        uint8_t pick = in.ConsumeIntegral<uint8_t>();
        size_t count = sizeof kFragments / sizeof *kFragments;
        if (pick < count) {
            char const* other = kClasses[in.ConsumeIntegralInRange<size_t>(0, 3)];
            // Fragments start with '#' for preprocessor lines; only the
            // class placeholder after the first character is replaced.
            std::string fragment = kFragments[pick];
            if (fragment[0] == '#' && fragment.size() > 1)
                text += "#" + Replace(fragment.substr(1), self, other);
            else
                text += Replace(fragment, self, other);
        } else if (pick < 240) {
            text += in.ConsumeRandomLengthString(24);
        } else if (pick < 250) {
            // Deep nesting.
            int depth = in.ConsumeIntegralInRange(1, 2000);
            char open = "{(<["[pick % 4];
            text += self + " " + std::string(size_t(depth), open);
        } else {
            text += std::string(1, '\0');
        }
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    g_Tool = MOSA_TOOL_PATH;
    g_Work = fuzz::WorkFolder();
    FindCounters();
    if (g_CounterSize) {
        void* shared = mmap(nullptr, g_CounterSize, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        if (shared != MAP_FAILED)
            g_Counters = static_cast<uint8_t*>(shared);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, size_t size)
{
    if (size > 65536)
        return -1;
    FuzzedDataProvider in(data, size);
    std::string run = g_Work + "/run";
    RemoveTree(run);
    std::string src = run + "/src";
    std::string out = run + "/out";
    std::string cwd = run + "/cwd";
    MakeFolders(src);
    MakeFolders(cwd);
    time_t past = time(nullptr) - 100;

    // Layer folders with modules and other files.
    std::vector<std::string> files;
    int layers = in.ConsumeIntegralInRange(1, 5);
    for (int l = 0; l < layers; ++l) {
        std::string layer = src + "/" + kLayers[l];
        MakeFolders(layer);
        int count = in.ConsumeIntegralInRange(0, 4);
        for (int m = 0; m < count; ++m) {
            std::string cls = kClasses[in.ConsumeIntegralInRange(0, 3)];
            std::string ext = kExtensions[in.ConsumeIntegralInRange<size_t>(0, sizeof kExtensions / sizeof *kExtensions - 1)];
            std::string path = layer + "/" + cls + ext;
            WriteFile(path, MakeModule(in, cls));
            files.push_back(path);
        }
        switch (in.ConsumeIntegralInRange(0, 9)) {
        case 0: WriteFile(layer + "/.notransform", ""); break;
        case 1: symlink("../B", (layer + "/Lnk").c_str()); break;
        case 2: symlink(".", (layer + "/Self").c_str()); break;
        case 3: WriteFile(layer + "/Own.link", in.ConsumeRandomLengthString(12)); break;
        case 4: symlink("../nowhere", (layer + "/Broken").c_str()); break;
        case 5: WriteFile(layer + "/sub.equation", "A\nB\n"); break;
        default: break;
        }
    }

    // The equation, and one it may import.
    std::string equation;
    int lines = in.ConsumeIntegralInRange(0, 8);
    for (int i = 0; i < lines; ++i) {
        int pick = in.ConsumeIntegralInRange(0, 9);
        if (pick < 6) {
            equation += kLayers[in.ConsumeIntegralInRange(0, 4)];
            if (in.ConsumeBool())
                equation += std::string(" ") + kLayerWords[in.ConsumeIntegralInRange(0, 7)];
        } else if (pick < 9) {
            equation += kEquationLines[in.ConsumeIntegralInRange<size_t>(0, sizeof kEquationLines / sizeof *kEquationLines - 1)];
        } else {
            equation += in.ConsumeRandomLengthString(16);
        }
        equation += in.ConsumeBool() ? "\n" : "\r\n";
    }
    WriteFile(src + "/prod.equation", equation);
    if (in.ConsumeBool())
        WriteFile(src + "/sub.equation", in.ConsumeBool() ? "C\nD dynamiclink\n" : "import prod\nB\n");

    // Options.
    std::vector<std::string> args = {g_Tool};
    uint8_t options = in.ConsumeIntegral<uint8_t>();
    if (options & 1)
        args.push_back("-noline");
    if (options & 2)
        args.push_back("-namespace");
    if (options & 4)
        args.push_back(options & 8 ? "-eqonly" : "-eq");
    if (options & 16)
        args.push_back("-linkdir");
    bool ownOut = !(options & 32);
    if (ownOut)
        args.push_back("-o=" + out);
    args.push_back(src + "/prod.equation");

    // Every file is old, so that edits are seen as changes.
    std::vector<std::string> all;
    std::function<void(std::string const&)> age = [&](std::string const& path) {
        SetTime(path, past);
        if (DIR* dir = opendir(path.c_str())) {
            while (dirent* entry = readdir(dir))
                if (strcmp(entry->d_name, ".") && strcmp(entry->d_name, ".."))
                    age(path + "/" + entry->d_name);
            closedir(dir);
        }
    };
    age(src);

    std::string skip = ownOut ? std::string() : ".output.prod";
    Snapshot before;
    TakeSnapshot(src, "", skip, before);

    RunChild(args, cwd);

    // An edit and a second, incremental run.
    if (!files.empty() && in.remaining_bytes() && in.ConsumeBool()) {
        std::string const& path = files[in.ConsumeIntegralInRange<size_t>(0, files.size() - 1)];
        FileName name(path.c_str());
        std::string cls = name.GetName().GetBuffer();
        switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0: WriteFile(path, MakeModule(in, cls)); break;
        case 1: unlink(path.c_str()); break;
        case 2: SetTime(path, time(nullptr)); break;
        default: {
            std::string added = src + "/" + kLayers[0] + "/" + kClasses[in.ConsumeIntegralInRange(0, 3)] + ".h";
            WriteFile(added, MakeModule(in, cls));
            SetTime(added, past - 50);
        }
        }
        before.clear();
        TakeSnapshot(src, "", skip, before);
        RunChild(args, cwd);
    }

    Snapshot after;
    TakeSnapshot(src, "", skip, after);
    CompareSnapshots(before, after);

    // Nothing beside the source, output and current folders, and nothing in
    // the current folder.
    if (DIR* dir = opendir(run.c_str())) {
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name != "." && name != ".." && name != "src" && name != "out" && name != "cwd")
                Fail("written outside the output folder:", name);
        }
        closedir(dir);
    }
    if (DIR* dir = opendir(cwd.c_str())) {
        while (dirent* entry = readdir(dir))
            if (strcmp(entry->d_name, ".") && strcmp(entry->d_name, ".."))
                Fail("written into the current folder:", entry->d_name);
        closedir(dir);
    }
    return 0;
}
