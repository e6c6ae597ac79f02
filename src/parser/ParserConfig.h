// The parser's own reading of the command line: every argument as a
// parameter (name before "=" without leading dashes and quotes, value the
// whole argument), the include folders given with I, and a pass-through
// list of the program name and the define, include and long-option
// arguments. Only Gpp() is consulted.
#pragma once

#include "base/Array.h"
#include "base/Map.h"
#include "base/StringArray.h"

class ParserConfig {
public:
    ParserConfig() : m_Argc(0), m_Argv(nullptr), m_bCaller(false) { m_Params.InitBuckets(29); }
    ParserConfig(ParserConfig const&) = delete;
    ParserConfig& operator=(ParserConfig const&) = delete;

    // Stores the arguments (not copied) and reads them; always true.
    bool Init(int argc, char** argv, bool flag);
    void InitParams();
    void AddParam(char const* name, char const* value);
    // True when a parameter named "GPP" or "gpp" was given.
    bool Gpp() const;
    bool InitPaths() { return true; }

    // Pointers into the argument vector, in the order recorded.
    Array<char*> const& GetPassThrough() const { return m_PassThrough; }
    StringArray const& GetIncludes() const { return m_Includes; }
    // The value of a parameter; null when it was not given.
    Str const* GetParam(char const* name) const;

private:
    Array<char*> m_PassThrough;
    int m_Argc;
    char** m_Argv;
    MapStringToString m_Params;
    StringArray m_Includes;
    bool m_bCaller;
};
