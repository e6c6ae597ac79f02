// The tool's entry object: keeps the argument vector and the program name,
// lets Config parse the command line, prints the version line, the usage and
// the option list when the command line is not usable, and otherwise drives
// the composition project.
#pragma once

#include "base/Str.h"

class Application {
public:
    // The one instance, made on the first call and never freed.
    static Application* GetInstance();

    Application();
    Application(Application const&) = delete;
    Application& operator=(Application const&) = delete;
    virtual ~Application() {}

    // Stores this as the instance.
    Application* OnCreate();
    // The exit code: the composition's; 0 after the usage when it was
    // asked for (--help), 1 after it or after the error that says why when
    // the command line is refused; 1 as well when the run reported an error.
    // Closes the log; 1 as well when a message or the log could not be
    // written.
    int Run(int argc, char** argv);
    // Takes the program name from the first argument and parses the command
    // line; false when the usage must be printed.
    bool Initialize();
    // Runs the composition; 0 or 1.
    int main();
    // Version line, usage line and option list; null name means the program
    // name, null params means GetParams().
    void PrintUsage(char const* name, char const* params);
    // Reads one character from standard input.
    int WaitKey();

    // The option list text of Config.
    virtual Str GetOptions();
    // The parameter names, joined by blanks.
    virtual Str GetParams();

    // The program name: the first argument after its last "/" ("\" read as
    // "/"); empty for a missing first argument.
    Str const& GetName() const { return m_Name; }
    // "%s %s (%s : %s)": name, "- release", build date and time.
    Str GetVersionLine(char const* name) const;

    static Application* m_pApp;

    int m_Argc;
    char** m_Argv;
    char const* m_pFirstArg;
    Str m_Name;
};
