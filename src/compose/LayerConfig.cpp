#include "compose/LayerConfig.h"

#include "base/ErrorLog.h"
#include "base/StringTokenizer.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <strings.h>
#include <vector>

namespace {

// Words of a layer line name folders; "/" separates their parts like ".".
Str ReadWord(Str word)
{
    return word.Replace("/", ".");
}

bool IsComment(Str const& word)
{
    char const* text = word.GetBuffer();
    return text[0] == ';' || text[0] == '#' || strncmp(text, "//", 2) == 0;
}

char const* const Keywords[] = {"dynamiclink", "dynamicload", "bindingunit"};

// The number of single-letter insertions, deletions and substitutions that
// turn a into b, letter case ignored.
size_t Distance(char const* a, char const* b)
{
    size_t n = strlen(b);
    std::vector<size_t> row(n + 1);
    for (size_t j = 0; j <= n; ++j)
        row[j] = j;
    for (size_t i = 1; *a; ++a, ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= n; ++j) {
            size_t above = row[j];
            bool same = tolower(static_cast<unsigned char>(*a)) == tolower(static_cast<unsigned char>(b[j - 1]));
            row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[n];
}

} // namespace

LayerConfig::LayerConfig(Str const& line, char const* file, int lineNumber)
    : m_bStatic(false), m_bLinkDynamic(false), m_bLoadDynamic(false), m_bDerivative(false),
      m_File(file ? file : ""), m_Line(lineNumber)
{
    StringTokenizer words(line, Str(" \t"));
    if (!words.HasMoreTokens())
        return;
    Str written = words.GetNextToken();
    m_LayerName = ReadWord(written);
    m_PlainName = m_LayerName;
    if (!HasPathName()) {
        Error("'" + written + "' is no layer name: a layer is a folder path below the source folder" +
              (strncmp(written, "/*", 2) == 0 ? Str(" (comment lines begin with #, ; or //)") : Str()));
        return;
    }
    while (words.HasMoreTokens()) {
        Str word = words.GetNextToken();
        if (IsComment(word))
            break;
        ParseConfigToken(ReadWord(word), words, file, lineNumber);
    }
    // A layer loaded dynamically without a unit of its own forms one named
    // after it.
    if (m_bLoadDynamic && m_BindingUnit.IsEmpty() && !IsUnitName(m_PlainName))
        Error("the binding unit '" + m_PlainName + "' of layer " + m_LayerName +
              " is not a C++ identifier; name a unit with 'bindingunit <unit>'");
}

LayerConfig::LayerConfig(Str const& name, Str const& plainName)
    : m_LayerName(name), m_PlainName(plainName), m_bStatic(false), m_bLinkDynamic(false),
      m_bLoadDynamic(false), m_bDerivative(false), m_Line(0)
{
}

LayerConfig::LayerConfig(LayerConfig& other)
    : m_LayerName(other.m_LayerName), m_PlainName(other.m_PlainName), m_bStatic(other.m_bStatic),
      m_bLinkDynamic(other.m_bLinkDynamic), m_bLoadDynamic(other.m_bLoadDynamic), m_bDerivative(false),
      m_File(other.m_File), m_Line(other.m_Line)
{
}

void LayerConfig::SetLoadDynamic()
{
    m_bLoadDynamic = true;
    m_bStatic = false;
}

void LayerConfig::SetLinkDynamic()
{
    m_bLinkDynamic = true;
    SetLoadDynamic();
}

void LayerConfig::SetBindingUnit(Str const& name)
{
    m_BindingUnit = name;
}

Str LayerConfig::GetBindingUnitName() const
{
    if (!m_BindingUnit.IsEmpty())
        return m_BindingUnit;
    if (!m_bLoadDynamic)
        return Str("base");
    return m_PlainName;
}

bool LayerConfig::ParseConfigToken(Str const& word, StringTokenizer& rest, char const* file, int lineNumber)
{
    if (file && m_File.IsEmpty()) {
        m_File = file;
        m_Line = lineNumber;
    }
    if (word == "dynamiclink") {
        SetLinkDynamic();
        return true;
    }
    if (word == "dynamicload") {
        SetLoadDynamic();
        return true;
    }
    if (word == "bindingunit" && rest.HasMoreTokens()) {
        SetLoadDynamic();
        Str unit = ReadWord(rest.GetNextToken());
        // A binding unit names a class (each "." as "_") and, with -linkdir,
        // a folder of its own.
        if (!IsUnitName(unit)) {
            Error("invalid binding unit '" + unit + "' for layer " + m_LayerName +
                  ": a unit name is a C++ identifier (its parts may be separated by '.')");
            return true;
        }
        SetBindingUnit(unit);
        return true;
    }
    char const* keyword = NearKeyword(word);
    if (!keyword && word == "bindingunit") {
        Error("'bindingunit' names no binding unit for layer " + m_LayerName +
              " and is taken as the name of a run-time feature switch: write 'bindingunit <unit>'");
        return false;
    }
    if (keyword) {
        Str text;
        text.Format("'%s' for layer %s is taken as the name of a run-time feature switch, not as the keyword "
                    "'%s'%s: did you mean `%s`?",
                    word.GetBuffer(), m_LayerName.GetBuffer(), keyword,
                    strcasecmp(word, keyword) == 0 ? " (keywords are lower case)" : "", keyword);
        Error(text);
        return false;
    }
    if (!m_IfConfigName.IsEmpty()) {
        Error("'" + word + "' for layer " + m_LayerName + " means nothing: the layer's run-time feature switch is '" +
              m_IfConfigName + "', and a layer has one");
        return false;
    }
    m_IfConfigName = word;
    if (!IsIdentifier(word))
        Error("the run-time feature switch '" + word + "' of layer " + m_LayerName +
              " is not a C++ identifier: it names the enumerator feature_" + word);
    return true;
}

bool LayerConfig::HasPathName() const
{
    // "/" and "." both separate the folders of the path: an empty part
    // comes from a path that is absolute, climbs out with "..", or is no
    // path at all, and would name a folder other than the one written.
    char const* name = m_LayerName.GetBuffer();
    return *name && *name != '.' && name[m_LayerName.GetLength() - 1] != '.' && !strstr(name, "..");
}

bool LayerConfig::IsIdentifier(Str const& text)
{
    char const* p = text.GetBuffer();
    if (!*p || isdigit(static_cast<unsigned char>(*p)))
        return false;
    for (; *p; ++p)
        if (!isalnum(static_cast<unsigned char>(*p)) && *p != '_')
            return false;
    return true;
}

bool LayerConfig::IsUnitName(Str const& text)
{
    char const* p = text.GetBuffer();
    if (!*p || isdigit(static_cast<unsigned char>(*p)))
        return false;
    for (char previous = '.'; *p; previous = *p++) {
        if (*p == '.' ? previous == '.' : !isalnum(static_cast<unsigned char>(*p)) && *p != '_')
            return false;
    }
    return p[-1] != '.';
}

char const* LayerConfig::NearKeyword(Str const& word)
{
    for (char const* keyword : Keywords)
        if (word != keyword && Distance(word, keyword) <= 2)
            return keyword;
    return nullptr;
}

void LayerConfig::Error(Str const& text) const
{
    ErrorLog::OnError(text, m_File.IsEmpty() ? nullptr : m_File.GetBuffer(), m_Line);
}
