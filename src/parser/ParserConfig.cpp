#include "parser/ParserConfig.h"

#include <cstring>

namespace {

// The parameter name of an argument: the text before the first "=", without
// leading dashes, then without trailing and leading double quotes.
Str ParamName(char const* argument)
{
    char const* end = strchr(argument, '=');
    size_t length = end ? static_cast<size_t>(end - argument) : strlen(argument);
    char const* start = argument;
    while (length > 0 && *start == '-') {
        ++start;
        --length;
    }
    while (length > 0 && start[length - 1] == '"')
        --length;
    while (length > 0 && *start == '"') {
        ++start;
        --length;
    }
    Str name;
    name.SetData(start, length);
    return name;
}

} // namespace

bool ParserConfig::Init(int argc, char** argv, bool flag)
{
    m_bCaller = flag;
    m_Argc = argc;
    m_Argv = argv;
    InitParams();
    return true;
}

void ParserConfig::InitParams()
{
    m_PassThrough.RemoveAll();
    if (!m_Argv || m_Argc < 1)
        return;
    m_PassThrough.Add(m_Argv[0]);
    for (int i = 1; i < m_Argc; ++i) {
        char* argument = m_Argv[i];
        if (!argument)
            continue;
        Str name = ParamName(argument);
        char const* value = argument;
        if (name.GetLength() == 1 && (name == "I" || name == "D") && i + 1 < m_Argc && m_Argv[i + 1]) {
            value = m_Argv[i + 1];
            m_PassThrough.Add(argument);
            m_PassThrough.Add(m_Argv[i + 1]);
            ++i;
        } else if (strncmp(argument, "-D", 2) == 0 || strncmp(argument, "--", 2) == 0) {
            m_PassThrough.Add(argument);
        }
        AddParam(name, value);
    }
}

void ParserConfig::AddParam(char const* name, char const* value)
{
    if (!name)
        name = "";
    if (!value)
        value = "";
    if (strcmp(name, "I") == 0)
        m_Includes.Add(value);
    m_Params[name] = value;
}

bool ParserConfig::Gpp() const
{
    return m_Params.Find("GPP") || m_Params.Find("gpp");
}

Str const* ParserConfig::GetParam(char const* name) const
{
    auto* entry = m_Params.Find(name);
    return entry ? &entry->GetValue() : nullptr;
}
