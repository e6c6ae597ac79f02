#include "compose/Application.h"

#include "base/Config.h"
#include "base/Diagnostics.h"
#include "base/ErrorLog.h"
#include "base/OutputRecord.h"
#include "compose/FopParseProject.h"
#include "compose/LayerStack.h"
#include "compose/ScannerMessages.h"
#include "scanner/ErrorStream.h"

#include <cstdio>
#include <cstring>

Application* Application::m_pApp = nullptr;

Application* Application::GetInstance()
{
    if (!m_pApp)
        (new Application)->OnCreate();
    return m_pApp;
}

Application::Application() : m_Argc(0), m_Argv(nullptr), m_pFirstArg(nullptr) {}

Application* Application::OnCreate()
{
    m_pApp = this;
    return this;
}

int Application::Run(int argc, char** argv)
{
    m_Argc = argc;
    m_Argv = argv;
    // The engine counts the run's errors, also those the scanner prints;
    // a scanner stream with its own target counts them through the log.
    ErrorLog::Reset();
    ScannerMessages::Install();
    Lex::ErrorStream::listener(&ErrorLog::OnReported);
    int code = 1;
    if (Initialize()) {
        code = main();
    } else if (!Config::GetInstance().IsRefused()) {
        // A refused command line was told why; the usage answers the rest.
        PrintUsage(nullptr, nullptr);
        if (Config::GetInstance().IsHelpAsked())
            code = 0;
    }
    // The run goes on after most errors and writes what it can; any error
    // it reported fails it.
    if (Diagnostics::HasErrors())
        code = 1;
    // The output record says the run finished; a record, message or log end
    // that could not be written fails the run.
    bool recorded = OutputRecord::Finish();
    if (!ErrorLog::CloseLogFile() || ErrorLog::HasFailed() || !recorded)
        code = 1;
    return code;
}

bool Application::Initialize()
{
    m_pFirstArg = m_Argc > 0 && m_Argv ? m_Argv[0] : nullptr;
    Str path(m_pFirstArg);
    path.Replace("\\", "/");
    char const* slash = strrchr(path, '/');
    m_Name = slash ? Str(slash + 1) : path;

    return Config::GetInstance().Init(m_Argc, m_Argv);
}

int Application::main()
{
    Config::SetEquationNameSource([]() { return FopParseProject::GetInstance()->GetEquationName(); });
    FopParseProject* project = FopParseProject::GetInstance();
    project->Init(m_Argc, m_Argv, false);
    Str equation = Config::GetInstance().GetEquation();
    if (!project->AddPath(equation)) {
        Diagnostics::Printf(DiagKind::Info, DiagFlush::After, "encountered errors\n");
        return 1;
    }
    // The default output folder is hidden in the source folder.
    if (Config::GetInstance().GetOutDir().IsEmpty())
        Diagnostics::Printf(DiagKind::Progress, DiagFlush::After, "output folder %s\n",
                            ErrorLog::Escape(project->GetLayerStack()->m_OutDir).GetBuffer());
    project->Parse();
    return project->Error() ? 1 : 0;
}

Str Application::GetVersionLine(char const* name) const
{
    Str line;
    line.Format("%s %s (%s : %s)", name ? name : m_Name.GetBuffer(), "- release", __DATE__, __TIME__);
    return line;
}

void Application::PrintUsage(char const* name, char const* params)
{
    Str options = GetOptions();
    Str paramText = params ? Str(params) : GetParams();
    Str text;
    text.Format("%s\nusage: %s%s %s\n", GetVersionLine(name).GetBuffer(), m_Name.GetBuffer(),
                options.IsEmpty() ? "" : " [options]", paramText.GetBuffer());
    if (!options.IsEmpty()) {
        Str list;
        list.Format("Options (defaults as + / -):\n%s\n", options.GetBuffer());
        text += list;
    }
    Diagnostics::Report(DiagKind::Listing, DiagStream::Out, DiagFlush::After, text.GetBuffer());
}

int Application::WaitKey()
{
    return getchar();
}

Str Application::GetOptions()
{
    return Config::GetInstance().GetOptions();
}

Str Application::GetParams()
{
    return Config::GetInstance().GetParams();
}
