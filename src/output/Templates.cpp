#include "output/Templates.h"

#include "base/Config.h"
#include "base/ErrorLog.h"
#include "base/File.h"
#include "base/PathIterator.h"
#include "base/TextFile.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

char const g_HeaderEnding[] = ".templ.h";
char const g_CppEnding[] = ".templ.cpp";

bool EndsWith(char const* text, char const* ending)
{
    size_t n = strlen(text), m = strlen(ending);
    return n >= m && strcmp(text + n - m, ending) == 0;
}

bool StartsWith(char const* text, char const* start)
{
    return strncmp(text, start, strlen(start)) == 0;
}

// The running executable's path, links resolved; empty when unknown.
Str ExecutablePath()
{
    return File::RealPath("/proc/self/exe");
}

} // namespace

Templates* Templates::GetInstance()
{
    static Templates instance;
    return &instance;
}

Str Templates::GetTemplate(char const* name)
{
    if (!name)
        name = "";
    if (MapStringToString::HashNode* node = m_Cache.Find(name))
        return node->GetValue();
    FileNotFound(name);
    return Str();
}

void Templates::InitTemplateFolder(Str const& programPath)
{
    // The running executable, links resolved, is the program; the path the
    // program was started by only stands in when that cannot be read.
    Str program = ExecutablePath();
    if (program.IsEmpty())
        program = programPath;
    program.Replace("\\", "/");
    Str folder;
    if (File::LastSeparator(program) < 0)
        folder = ".";
    else
        folder = File::ExtractFilePath(program); // empty for a file in the root folder
    m_Folder = folder + "/codetemplates";
    LoadFolder();
}

void Templates::LoadFolder()
{
    Str folder = m_Folder + "/general";
    for (PathIterator it(folder); !it.GetName().IsEmpty();) {
        Str name = it.GetName();
        bool isFolder = it.GetStat().is_dir();
        it.ReadNext();
        if (!isFolder)
            LoadTemplateFile(name, folder + "/" + name);
    }
}

bool Templates::LoadTemplateFile(char const* entryName, Str const& path)
{
    bool header = EndsWith(entryName, g_HeaderEnding);
    if (!header && !EndsWith(entryName, g_CppEnding))
        return false;
    Str entry(entryName);
    Str name = entry.Left(static_cast<size_t>(strstr(entryName, ".templ") - entryName));
    // A ".templ.h" file wins over a ".templ.cpp" file of the same name,
    // whichever the folder lists first.
    if (!header && m_FromHeader.Contains(name))
        return false;
    StringArray lines;
    if (!TextFile::GetFileContent(path, lines))
        return false;
    Str text;
    CreateLineDirectives(lines, path, text);
    m_Cache[name] = text;
    if (header)
        m_FromHeader.Add(name);
    return true;
}

bool Templates::LoadFile(char const* name)
{
    Str base = m_Folder + "/" + name + ".templ";
    StringArray lines;
    bool found = TextFile::GetFileContent(base + ".h", lines) || TextFile::GetFileContent(base + ".cpp", lines);
    Str text;
    if (found)
        TrimContent(lines, text);
    else
        FileNotFound(name);
    m_Cache[name] = text;
    return found;
}

void Templates::TrimContent(StringArray const& lines, Str& text)
{
    bool content = false;
    for (int i = 0; i < lines.GetCount(); ++i) {
        Str const& line = lines[i];
        text += line;
        text += "\n";
        if (content)
            continue;
        char const* begin = line.GetBuffer();
        char const* end = begin + line.GetLength();
        auto white = [](char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; };
        while (begin < end && white(*begin))
            ++begin;
        while (end > begin && white(end[-1]))
            --end;
        size_t n = static_cast<size_t>(end - begin);
        if (n > 0 && (n <= 4 || strncmp(begin, "#line", 5) != 0))
            content = true;
    }
    if (!content)
        text = "";
}

void Templates::FileNotFound(char const* name)
{
    Str text;
    text.Format("template file '%s' not found in folder %s", name, m_Folder.GetBuffer());
    ErrorLog::OnError(text, nullptr, 0);
}

void Templates::CreateLineDirectives(StringArray const& lines, Str path, Str& text)
{
    path.Replace("\\", "/");
    bool noLine = Config::GetInstance().GetNoLine();
    for (int i = 0; i < lines.GetCount(); ++i) {
        Str const& line = lines[i];
        if (StartsWith(line, "//<LINE>")) {
            if (noLine)
                continue;
            text += "#line ";
            text << static_cast<unsigned long>(i + 2);
            text += " \"";
            text += path;
            text += "\"\n";
            continue;
        }
        if (StartsWith(line, "//<META />"))
            continue;
        text += line;
        text += "\n";
    }
}

void Templates::Clear()
{
    m_Cache.RemoveAll();
    m_FromHeader.RemoveAll();
}
