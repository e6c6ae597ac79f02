// The tool's command-line settings: five switches, three string options and
// the equation file to compose. The composition driver calls Init once with
// the process's arguments and prints the usage (GetParams, GetOptions) when
// it answers false.
#pragma once

#include "base/Array.h"
#include "base/Option.h"
#include "base/Str.h"

class Config {
public:
    // Where GetNameSpace finds the name of the loaded equation; installed by
    // the composition driver at start-up.
    using EquationNameSource = Str (*)();

    Config();
    Config(Config const&) = delete;
    Config& operator=(Config const&) = delete;
    ~Config();

    static Config& GetInstance();
    static void SetEquationNameSource(EquationNameSource source) { m_pEquationNameSource = source; }

    // Registers the options and parses the arguments. False when the usage
    // must be printed: no arguments, "--help" or "-help" anywhere
    // (IsHelpAsked), or an unknown option (reported as "unknown option:
    // -..."); false as well, after an error that says why (IsRefused), for
    // a command line that would run with another setting than the one
    // written: an option after the equation, a second equation, "-o"
    // without "=" or with an empty folder, a switch given a value. Called
    // again, it starts afresh from the defaults.
    bool Init(int argc, char** argv);
    bool IsHelpAsked() const { return m_bHelpAsked; }
    bool IsRefused() const { return m_bRefused; }
    // Registers every option once, with its default; options registered
    // before are dropped first.
    void InitOptions();
    void MOSA_InitOptions();
    bool util_app_config_Init(int argc, char** argv);
    // One option argument without its leading "-": name, or name=value.
    bool OnOption(Str const& text);

    void AddOption(Str const& name, Str const& help, bool& target);
    // A null default sets the target to StrOption::m_UndefinedVal.
    void AddOption(Str const& name, Str const& help, char const** target, char const* def);
    void AddParam(Str const& name, Str const& help, char const** target, char const* def);

    // One line per option: name padded to 20, help text, (+) or (-).
    Str GetOptions() const;
    // The parameter names joined by blanks.
    Str GetParams() const;
    // One line per option: name, value and help text.
    Str GetSettings() const;

    // Values of -o, -s; empty when not given or given without a value.
    Str GetOutDir() const { return Value(m_pOutDir); }
    Str GetSourceDir() const { return Value(m_pSourceDir); }
    // Empty when -namespace was not given; the equation's name when it was
    // given without a value; the value otherwise.
    Str GetNameSpace() const;
    // The equation file; empty when none was given.
    Str GetEquation() const { return Str(m_pEquation); }

    bool GetGpp() const { return m_bGpp; }
    bool GetNoLine() const { return m_bNoLine; }
    bool GetEqOnly() const { return m_bEqOnly; }
    bool GetEq() const { return m_bEq; }
    bool GetLinkDir() const { return m_bLinkDir; }

    Array<Option*, Option* const&> m_Options;
    Array<Option*, Option* const&> m_Params;
    char const* m_pSpare;
    bool m_bGpp;
    bool m_bNoLine;
    bool m_bEqOnly;
    bool m_bEq;
    char const* m_pNameSpace;
    char const* m_pSourceDir;
    char const* m_pOutDir;
    char const* m_pEquation;
    bool m_bLinkDir;

private:
    static Str Value(char const* target);
    // Reports the command line's mistake; false.
    bool Refuse(Str const& text);

    bool m_bHelpAsked = false;
    bool m_bRefused = false;
    void RemoveOptions();

    static EquationNameSource m_pEquationNameSource;
};
