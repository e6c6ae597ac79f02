// The composition project: a parse project that owns the layer stack. It
// loads the equation, creates the modules of every layer, decides before
// parsing whether everything must be rebuilt, cleans the output folder for a
// full rebuild and starts the composition run.
#pragma once

#include "base/Array.h"
#include "base/Str.h"
#include "compose/ParseProject.h"

#include <ctime>

class Layer;
class LayerStack;

class FopParseProject : public ParseProject {
public:
    // The one project, made on the first call, destroyed at normal exit.
    static FopParseProject* GetInstance();

    FopParseProject();
    FopParseProject(FopParseProject const&) = delete;
    FopParseProject& operator=(FopParseProject const&) = delete;
    // Deletes the layer stack.
    ~FopParseProject() override;

    // The parse project's set-up with the command line, and the code
    // templates beside the program.
    bool Init(int argc, char** argv, bool unused) override;
    // Loads the code templates of "codetemplates/general" beside the program.
    void InitTemplateFolder();
    // Loads the equation and creates the modules of every layer; false when
    // the equation or its folders cannot be set up.
    bool AddPath(char const* equation);
    // Creates the modules of one layer.
    void AddFiles(Layer& layer);
    // The composition run; false when a module failed to parse.
    bool ParseFiles() override;
    // The rebuild decision, before anything is parsed; a full rebuild cleans
    // the output folder.
    void PrepareParse();
    // True, after the rebuild notice, when an equation file read (imports
    // included) or the program is not older than the newest main output
    // file, when the options that shape the output changed, or when the
    // run that last wrote the output folder did not finish.
    bool HasEquationOrAppChanged();
    // Removes the files the tool wrote into the output folder in earlier
    // runs (its record); a file it did not write stays. A folder without a
    // record loses only the files this run writes for its classes.
    void DeleteOutputFiles();
    // The equation's name.
    Str GetEquationName();

    LayerStack* GetLayerStack() { return m_pLayerStack; }
    // Whether every composed class re-parses its modules in this run.
    bool IsRebuild() const { return m_bRebuild; }

    // Owned.
    LayerStack* m_pLayerStack;
    // True from construction until PrepareParse settles it.
    bool m_bRebuild;

private:
    // The argument vector handed on by Init when argv[0] names no program
    // file: the running executable in its place. Kept for the parser
    // configuration, which holds on to it.
    Str m_ExePath;
    Array<char*> m_Args;
};
