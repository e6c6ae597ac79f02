#include "base/Config.h"

#include "base/Diagnostics.h"
#include "base/ErrorLog.h"

#include <cstring>

Config::EquationNameSource Config::m_pEquationNameSource = nullptr;

Config::Config()
    : m_pSpare(nullptr), m_bGpp(false), m_bNoLine(false), m_bEqOnly(false), m_bEq(false),
      m_pNameSpace(nullptr), m_pSourceDir(nullptr), m_pOutDir(nullptr), m_pEquation(nullptr),
      m_bLinkDir(false)
{
}

Config::~Config()
{
    RemoveOptions();
}

void Config::RemoveOptions()
{
    for (int i = 0; i < m_Options.GetCount(); ++i)
        delete m_Options[i];
    for (int i = 0; i < m_Params.GetCount(); ++i)
        delete m_Params[i];
    m_Options.RemoveAll();
    m_Params.RemoveAll();
}

Config& Config::GetInstance()
{
    static Config instance;
    return instance;
}

bool Config::Init(int argc, char** argv)
{
    m_bHelpAsked = false;
    m_bRefused = false;
    for (int i = 1; i < argc; ++i)
        if (strcmp(argv[i], "--help") == 0 || strcmp(argv[i], "-help") == 0) {
            InitOptions();
            m_bHelpAsked = true;
            return false;
        }
    if (!util_app_config_Init(argc, argv))
        return false;
    return argc > 1;
}

void Config::InitOptions()
{
    RemoveOptions();
    AddOption("linkdir", "generate one directory for each link lib", m_bLinkDir);
    MOSA_InitOptions();
    // g++ output unless the parser is set up for Microsoft C++, which it
    // never is in a run.
    m_bGpp = true;
}

void Config::MOSA_InitOptions()
{
    AddOption("gpp", "generate g++ output", m_bGpp);
    AddOption("noline", "do not create line directives", m_bNoLine);
    AddOption("eq", "compose equations", m_bEq);
    AddOption("eqonly", "only compose equation files", m_bEqOnly);
    AddOption("namespace", "create namespace, defaults to equation", &m_pNameSpace, nullptr);
    AddOption("s", "source directory", &m_pSourceDir, nullptr);
    AddOption("o", "output directory", &m_pOutDir, nullptr);
    AddParam("equation", "equation to compose", &m_pEquation, "");
}

bool Config::util_app_config_Init(int argc, char** argv)
{
    m_pSpare = nullptr;
    InitOptions();
    // The options come first, then the one equation; a run that would
    // take another argument than the one meant is refused with the reason.
    int equation = 0;
    for (int i = 1; i < argc; ++i) {
        char const* arg = argv[i];
        if (arg[0] != '-') {
            if (equation == 0) {
                equation = i;
                continue;
            }
            // "-namespace ns p.equation": the value was meant for the option.
            if (equation == i - 1 && strcmp(argv[equation - 1], "-namespace") == 0 && i == argc - 1)
                return Refuse(Str("options take '=': -namespace=") + argv[equation]);
            return Refuse(Str("one equation per run: '") + arg + "' follows the equation '" + argv[equation] + "'");
        }
        if (equation)
            return Refuse(Str("options go before the equation: ") + arg + " follows '" + argv[equation] + "'");
        if (!OnOption(arg + 1))
            return false;
        // A folder option without its folder would leave it unset, and
        // the next argument would be taken for the equation.
        for (char const* folder : {"o", "s"}) {
            size_t n = strlen(folder);
            if (strncmp(arg + 1, folder, n) != 0 || (arg[n + 1] && arg[n + 1] != '='))
                continue;
            if (!arg[n + 1] && i + 1 < argc && argv[i + 1][0] != '-' && i + 2 < argc)
                return Refuse(Str("options take '=': ") + arg + "=" + argv[i + 1]);
            if (!arg[n + 1] || !arg[n + 2])
                return Refuse(Str("-") + folder + " names no folder: write -" + folder + "=<folder>");
        }
    }
    if (!equation && argc > 1)
        return Refuse("no equation given: write the equation file after the options");
    if (equation)
        m_Params[0]->Set(argv[equation]);
    return true;
}

bool Config::Refuse(Str const& text)
{
    ErrorLog::OnError(text);
    m_bRefused = true;
    return false;
}

bool Config::OnOption(Str const& text)
{
    char const* equals = strchr(text, '=');
    Str name = equals ? text.Left(static_cast<size_t>(equals - text.GetBuffer())) : text;
    char const* value = equals ? equals + 1 : "";
    for (int i = 0; i < m_Options.GetCount(); ++i) {
        Option* option = m_Options[i];
        if (option->GetName() != name)
            continue;
        if (*value && option->IsSwitch())
            return Refuse("the switch -" + name + " takes no value: write -" + name);
        if (*value)
            option->Set(value);
        else
            option->Set();
        return true;
    }
    Diagnostics::Printf(DiagKind::Error, DiagFlush::None, "unknown option: -%s\n", text.GetBuffer());
    return false;
}

void Config::AddOption(Str const& name, Str const& help, bool& target)
{
    m_Options.Add(new BoolOption(name, help, target));
    target = false;
}

void Config::AddOption(Str const& name, Str const& help, char const** target, char const* def)
{
    m_Options.Add(new StrOption(name, help, target, def));
    if (!def)
        *target = StrOption::m_UndefinedVal;
}

void Config::AddParam(Str const& name, Str const& help, char const** target, char const* def)
{
    m_Params.Add(new StrOption(name, help, target, def));
    if (!def)
        *target = StrOption::m_UndefinedVal;
}

Str Config::GetOptions() const
{
    Str list;
    for (int i = 0; i < m_Options.GetCount(); ++i) {
        Option const* option = m_Options[i];
        if (i)
            list += "\n";
        Str flag = "-" + option->GetName();
        while (flag.GetLength() < 20)
            flag += ' ';
        list += "  ";
        list += flag;
        list += option->GetHelp();
        list += option->IsSet() ? " (+)" : " (-)";
    }
    return list;
}

Str Config::GetParams() const
{
    Str names;
    for (int i = 0; i < m_Params.GetCount(); ++i) {
        if (i)
            names += " ";
        names += m_Params[i]->GetName();
    }
    return names;
}

Str Config::GetSettings() const
{
    Str lines;
    for (int i = 0; i < m_Options.GetCount(); ++i) {
        Option const* option = m_Options[i];
        if (i)
            lines += "\n";
        lines += "-";
        lines += option->GetName();
        lines += ":\t";
        lines += option->GetStrVal();
        lines += " (";
        lines += option->GetHelp();
        lines += ")";
    }
    return lines;
}

Str Config::GetNameSpace() const
{
    if (m_pNameSpace == StrOption::m_UndefinedVal)
        return Str();
    if (!m_pNameSpace || !*m_pNameSpace)
        return m_pEquationNameSource ? m_pEquationNameSource() : Str();
    return Str(m_pNameSpace);
}

Str Config::Value(char const* target)
{
    if (!target || target == StrOption::m_UndefinedVal)
        return Str();
    return Str(target);
}
