// Writes a product line for the composition benchmark: C classes in L layers
// with M methods each, an equation, a test program that exercises every
// class, and the line that program must print.
//   ProductLineGen <folder> <classes> [layers] [methods]
//
// Layout of <folder>:
//   layers/pl.equation     the layers, bottom first: Base F1 F2 ...
//   layers/Base/C00000.h   every class is introduced in Base, together with
//   layers/Base/Tally.h    the destructor counter that every class uses;
//   layers/F<l>/C00000.h   every upper layer refines every class
//   main/main.cpp          the test program, with main/run_<k>.cpp holding
//   main/run_<k>.cpp       the code for groups of classes
//   expected.txt           the line the test program prints
//
// Class i holds class i/2 by value and its successor (i+1)%C by pointer.
// Methods with an even number are defined inside the class, the others
// after it. An upper layer l refines method k when (k + l + i) % 3 != 0, as
// "super * 2 + l". Constructors are refined in the even layers 2, 4, ...,
// destructors (which count into Tally) in the odd layers. The expected line
// is computed here by following the same rules.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

int g_classes = 0;
int g_layers = 6;
int g_methods = 8;
const int kGroup = 250; // classes per file of the test program

std::string ClassName(int i)
{
    char text[32];
    std::snprintf(text, sizeof text, "C%05d", i);
    return text;
}

std::string LayerName(int l)
{
    return l == 0 ? std::string("Base") : "F" + std::to_string(l);
}

int Dep(int i) { return i / 2; } // held by value, for i > 0
int Peer(int i) { return (i + 1) % g_classes; } // held by pointer
int Seed(int i) { return i % 50; }
int Arg(int i) { return i % 10; }
bool Refines(int i, int k, int l) { return (k + l + i) % 3 != 0; }
// The method the class calls on its peer.
int PeerMethod() { return g_methods > 1 ? 1 : 0; }

bool MakeFolder(std::string const& path)
{
    if (::mkdir(path.c_str(), 0755) == 0 || errno == EEXIST)
        return true;
    std::perror(path.c_str());
    return false;
}

bool WriteFile(std::string const& path, std::string const& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    if (!out) {
        std::cerr << "cannot write " << path << "\n";
        return false;
    }
    return true;
}

// Final value of m_v after all constructors ran with the given seed.
long Value(long seed)
{
    long v = seed;
    if (g_layers > 2)
        v += 2;
    for (int l = 4; l < g_layers; l += 2)
        v = v % 1000 * 3 + seed % 7;
    return v;
}

long Method(int i, int k, long v, long x)
{
    long r = x + v + k;
    for (int l = 1; l < g_layers; ++l)
        if (Refines(i, k, l))
            r = r * 2 + l;
    return r;
}

long Total(int i, long x)
{
    long v = Value(Seed(i));
    long t = 0;
    if (i > 0)
        t += Method(Dep(i), 0, Value(Seed(i) + 1), x);
    t += Method(Peer(i), PeerMethod(), Value(Seed(Peer(i))), x);
    for (int k = 0; k < g_methods; ++k)
        t += Method(i, k, v, x);
    return t;
}

// What one object of class i (with the objects it holds) adds to Tally
// when it is destroyed.
long Destroyed(int i)
{
    long own = 1;
    for (int l = 1; l < g_layers; l += 2)
        own += l + 1;
    return own + (i > 0 ? Destroyed(Dep(i)) : 0);
}

std::string BaseModule(int i)
{
    std::string c = ClassName(i);
    std::string peer = ClassName(Peer(i));
    std::ostringstream os;
    os << "// Benchmark class " << c << ": holds " << (i > 0 ? ClassName(Dep(i)) : "nothing")
       << " by value and " << peer << " by pointer.\n"
       << "class " << c << " {\n"
       << "public:\n"
       << "    " << c << "(int seed) : m_v(seed), ";
    if (i > 0)
        os << "m_dep(seed + 1), ";
    os << "m_peer(0) {}\n"
       << "    ~" << c << "() { Tally::count(1); }\n\n";
    for (int k = 0; k < g_methods; ++k) {
        if (k % 2 == 0)
            os << "    int m" << k << "(int x) { return x + m_v + " << k << "; }\n";
        else
            os << "    int m" << k << "(int x);\n";
    }
    os << "\n    void link(" << peer << "* peer) { m_peer = peer; }\n"
       << "    long total(int x);\n\n"
       << "protected:\n"
       << "    int m_v;\n";
    if (i > 0)
        os << "    " << ClassName(Dep(i)) << " m_dep;\n";
    os << "    " << peer << "* m_peer;\n"
       << "};\n";
    for (int k = 1; k < g_methods; k += 2)
        os << "\nint " << c << "::m" << k << "(int x)\n{\n    return x + m_v + " << k << ";\n}\n";
    os << "\nlong " << c << "::total(int x)\n{\n    long t = 0;\n";
    if (i > 0)
        os << "    t += m_dep.m0(x);\n";
    os << "    if (m_peer)\n        t += m_peer->m" << PeerMethod() << "(x);\n";
    for (int k = 0; k < g_methods; ++k)
        os << "    t += m" << k << "(x);\n";
    os << "    return t;\n}\n";
    return os.str();
}

std::string UpperModule(int i, int l)
{
    std::string c = ClassName(i);
    std::ostringstream os;
    os << "// Layer " << LayerName(l) << " of " << c << ".\n"
       << "refines class " << c << " {\n"
       << "public:\n";
    if (l == 2)
        os << "    " << c << "(int seed) : m_w(seed % 7) { m_v += 2; }\n";
    else if (l % 2 == 0)
        os << "    " << c << "(int seed) { m_v = m_v % 1000 * 3 + m_w; }\n";
    else
        os << "    ~" << c << "() { Tally::count(" << l + 1 << "); }\n";
    bool outside = false;
    for (int k = 0; k < g_methods; ++k) {
        if (!Refines(i, k, l))
            continue;
        if (k % 2 == 0) {
            os << "    int m" << k << "(int x)\n    {\n"
               << "        return super::m" << k << "(x) * 2 + " << l << ";\n    }\n";
        } else {
            os << "    int m" << k << "(int x);\n";
            outside = true;
        }
    }
    if (l == 2)
        os << "\nprotected:\n    int m_w;\n";
    os << "};\n";
    if (outside) {
        for (int k = 1; k < g_methods; k += 2)
            if (Refines(i, k, l))
                os << "\nint " << c << "::m" << k << "(int x)\n{\n"
                   << "    return super::m" << k << "(x) * 2 + " << l << ";\n}\n";
    }
    return os.str();
}

std::string TallyModule()
{
    return "// Counts what the destructors of the benchmark classes add.\n"
           "class Tally {\n"
           "public:\n"
           "    static long count(long k)\n"
           "    {\n"
           "        static long n = 0;\n"
           "        n += k;\n"
           "        return n;\n"
           "    }\n"
           "    static int revision() { return 0; } // revision\n"
           "};\n";
}

std::string GroupFile(int group)
{
    int first = group * kGroup;
    int end = std::min(g_classes, first + kGroup);
    std::ostringstream os;
    os << "// Classes " << first << " to " << end - 1 << " of the benchmark product.\n";
    for (int i = first; i < end; ++i)
        os << "#include \"" << ClassName(i) << ".h\"\n";
    os << "#include \"" << ClassName(Peer(end - 1)) << ".h\"\n\n";
    os << "void create_" << group << "(void** objs)\n{\n";
    for (int i = first; i < end; ++i)
        os << "    objs[" << i << "] = new " << ClassName(i) << "(" << Seed(i) << ");\n";
    os << "}\n\nlong long use_" << group << "(void** objs)\n{\n    long long sum = 0;\n";
    for (int i = first; i < end; ++i) {
        std::string c = ClassName(i);
        os << "    static_cast<" << c << "*>(objs[" << i << "])->link(static_cast<"
           << ClassName(Peer(i)) << "*>(objs[" << Peer(i) << "]));\n"
           << "    sum += static_cast<" << c << "*>(objs[" << i << "])->total(" << Arg(i) << ");\n";
    }
    os << "    return sum;\n}\n\nvoid destroy_" << group << "(void** objs)\n{\n";
    for (int i = first; i < end; ++i)
        os << "    delete static_cast<" << ClassName(i) << "*>(objs[" << i << "]);\n";
    os << "}\n";
    return os.str();
}

std::string MainFile(int groups)
{
    std::ostringstream os;
    os << "// Creates one object of every benchmark class, links each to its peer,\n"
       << "// sums what they compute, destroys them and prints the sums.\n"
       << "#include \"Tally.h\"\n\n#include <cstdio>\n\n";
    for (int g = 0; g < groups; ++g)
        os << "void create_" << g << "(void** objs);\nlong long use_" << g
           << "(void** objs);\nvoid destroy_" << g << "(void** objs);\n";
    os << "\nstatic void* objs[" << g_classes << "];\n\nint main()\n{\n";
    for (int g = 0; g < groups; ++g)
        os << "    create_" << g << "(objs);\n";
    os << "    long long sum = 0;\n";
    for (int g = 0; g < groups; ++g)
        os << "    sum += use_" << g << "(objs);\n";
    for (int g = 0; g < groups; ++g)
        os << "    destroy_" << g << "(objs);\n";
    os << "    std::printf(\"checksum %lld %ld\\n\", sum, Tally::count(0));\n"
       << "    return 0;\n}\n";
    return os.str();
}

int Usage()
{
    std::cerr << "usage: ProductLineGen <folder> <classes> [layers] [methods]\n"
                 "  classes >= 2, layers 1..20, methods 1..50\n";
    return 2;
}

bool ReadCount(char const* text, int low, int high, int& value)
{
    char* end = nullptr;
    long n = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || n < low || n > high)
        return false;
    value = int(n);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 5 || !ReadCount(argv[2], 2, 99999, g_classes) ||
        (argc > 3 && !ReadCount(argv[3], 1, 20, g_layers)) ||
        (argc > 4 && !ReadCount(argv[4], 1, 50, g_methods)))
        return Usage();
    std::string root = argv[1];
    std::string layers = root + "/layers";
    if (!MakeFolder(root) || !MakeFolder(root + "/main") || !MakeFolder(layers))
        return 1;

    std::string equation = "# Benchmark product line: " + std::to_string(g_classes) + " classes, " +
                           std::to_string(g_layers) + " layers, " + std::to_string(g_methods) +
                           " methods.\n";
    for (int l = 0; l < g_layers; ++l) {
        std::string folder = layers + "/" + LayerName(l);
        if (!MakeFolder(folder))
            return 1;
        equation += LayerName(l) + "\n";
        for (int i = 0; i < g_classes; ++i) {
            std::string text = l == 0 ? BaseModule(i) : UpperModule(i, l);
            if (!WriteFile(folder + "/" + ClassName(i) + ".h", text))
                return 1;
        }
    }
    if (!WriteFile(layers + "/Base/Tally.h", TallyModule()) ||
        !WriteFile(layers + "/pl.equation", equation))
        return 1;

    int groups = (g_classes + kGroup - 1) / kGroup;
    for (int g = 0; g < groups; ++g)
        if (!WriteFile(root + "/main/run_" + std::to_string(g) + ".cpp", GroupFile(g)))
            return 1;
    if (!WriteFile(root + "/main/main.cpp", MainFile(groups)))
        return 1;

    long long sum = 0;
    long destroyed = 0;
    for (int i = 0; i < g_classes; ++i) {
        sum += Total(i, Arg(i));
        destroyed += Destroyed(i);
    }
    return WriteFile(root + "/expected.txt",
                     "checksum " + std::to_string(sum) + " " + std::to_string(destroyed) + "\n")
               ? 0
               : 1;
}
