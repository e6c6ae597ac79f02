// The code-template store: generated text around the composed classes
// (constructor parameters, product-line pointers, decorators, layer classes,
// factories) comes from template files found by name. The tool preloads every
// template of the folder "codetemplates/general" beside its executable at
// start-up; requests are answered from that cache with a copy of the text.
#pragma once

#include "base/Map.h"
#include "base/Str.h"
#include "base/StringArray.h"

class Templates {
public:
    static Templates* GetInstance();

    // A copy of the template's text; empty text, after the error
    // "template file '<name>' not found in folder <folder>", when it was not
    // loaded (reported at every request).
    Str GetTemplate(char const* name);

    // Sets the template folder to the folder of the program path followed by
    // "/codetemplates" and loads its "general" subfolder. The program is the
    // running executable (/proc/self/exe resolved); the given path stands in
    // only when that cannot be read. A path without folder stands for ".".
    void InitTemplateFolder(Str const& programPath);
    // The folder ending in "/codetemplates"; empty until set.
    Str const& GetTemplateFolder() const { return m_Folder; }
    void SetTemplateFolder(Str const& folder) { m_Folder = folder; }
    // Loads every "<name>.templ.h" and "<name>.templ.cpp" file of the
    // template folder's "general" subfolder; ".templ.h" wins.
    void LoadFolder();
    // Loads one template file under the entry name's part before ".templ";
    // false when the entry is no template file or cannot be read.
    bool LoadTemplateFile(char const* entryName, Str const& path);
    // Reads "<folder>/<name>.templ.h", else ".templ.cpp", trimmed, into the
    // cache (an empty text when neither exists, after the error); false when
    // no file was found.
    bool LoadFile(char const* name);

    // Joins the lines, each followed by "\n"; empty when no line is content
    // (only blank lines and "#line" directives).
    void TrimContent(StringArray const& lines, Str& text);
    void FileNotFound(char const* name);
    // Joins the lines, each followed by "\n"; a line beginning "//<LINE>"
    // becomes "#line <index + 2> \"<path>\"" (dropped under -noline), a line
    // beginning "//<META />" is dropped.
    void CreateLineDirectives(StringArray const& lines, Str path, Str& text);

    // Drops every cached template (the store starts empty again).
    void Clear();

    Templates() {}
    Templates(Templates const&) = delete;
    Templates& operator=(Templates const&) = delete;

private:
    MapStringToString m_Cache;
    // Names whose text came from a ".templ.h" file.
    StringSet m_FromHeader;
    Str m_Folder;
};
