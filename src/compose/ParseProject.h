// What every source file needs to be scanned and parsed: one error stream,
// one scanner, one parser and the parser configuration, shared by all files.
// Turns file paths into modules, one per folder and base name. The
// composition project derives from it.
#pragma once

#include "base/Array.h"
#include "base/FileStat.h"
#include "base/Map.h"
#include "base/Str.h"
#include "base/StringArray.h"
#include "parser/ParseServices.h"
#include "scanner/ErrorStream.h"

#include <ctime>
#include <ostream>

namespace Lex {
class CScanner;
}

class Module;
class ParserConfig;
class SimpleCPPParser;

class ParseProject : public ParseServices {
public:
    // Messages of the scanner, the parser and the file calls go to the
    // console, or to errors.
    ParseProject();
    explicit ParseProject(std::ostream& errors);
    ~ParseProject() override;
    ParseProject(ParseProject const&) = delete;
    ParseProject& operator=(ParseProject const&) = delete;

    // Finds the program file and its time and reads the parser's view of
    // the command line; always true.
    virtual bool Init(int argc, char** argv, bool flag);
    // The module for path (created when needed); never null. The folder is
    // the text before the last '/' (empty for none or a leading one only).
    virtual Module* AddFile(char const* path);
    // The plain parse of all modules, writing "files.txt".
    virtual bool ParseFiles();

    Module* AddFile(char const* path, char const* folder);
    // Runs ParseFiles once; nothing while a parse is running.
    void Parse();
    static int ParseThreadFunc(void* project);

    bool Error() const { return m_bError; }
    // True when the program time is unknown or not older than t.
    bool HasApplicationChangedSince(FileTimeNs t) const;
    // Appends every non-folder entry below folder, recursively.
    static void GetFiles(char const* folder, StringArray& files);
    bool HasModule(Module& module) const;
    // The registered class names containing filter, in a static array;
    // false while a parse runs.
    bool GetClasses(char const* filter, char const**& names, int& count, bool ignoreCase);
    // The qualified names known for a simple name, in a static array; false
    // while a parse runs or when the name is unknown.
    bool GetAllNames(char const* name, char const**& names, int& count);

    Lex::ErrorStream& GetErrorStream() override { return m_Errors; }
    Lex::CScanner& GetScanner() { return *m_pScanner; }
    SimpleCPPParser& GetParser() { return *m_pParser; }
    ParserConfig& GetParserConfig() { return *m_pParserConfig; }
    Str const& GetProgramPath() const { return m_ProgramPath; }
    FileTimeNs GetProgramTime() const { return m_ProgramTime; }
    // The modules in creation order.
    Array<Module*> const& GetModules() const { return m_ModuleList; }

protected:
    Lex::ErrorStream m_Errors;
    Lex::CScanner* m_pScanner;
    SimpleCPPParser* m_pParser;
    bool m_bError;
    Str m_ProgramPath;
    ParserConfig* m_pParserConfig;
    // Keyed by the absolute folder, "/" and the base name; owns the modules.
    MapStringTo<Module*> m_Modules;
    Array<Module*> m_ModuleList;
    bool m_bBusy;
    FileTimeNs m_ProgramTime;

private:
    // The scanner, the parser and the parser configuration.
    void CreateTools();
};

// The program file's path: argv0 made absolute against the current folder,
// else the first PATH entry holding it; empty when none is found. A folder
// of that name is no program file.
Str GetAppPath(char const* argv0);
