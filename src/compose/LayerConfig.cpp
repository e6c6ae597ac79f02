#include "compose/LayerConfig.h"

#include "base/ErrorLog.h"
#include "base/StringTokenizer.h"

#include <cstring>
#include <strings.h>

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

// The keyword the word spells but for letter case; null when none.
char const* KeywordLike(Str const& word)
{
    for (char const* keyword : {"dynamiclink", "dynamicload", "bindingunit"})
        if (strcasecmp(word, keyword) == 0)
            return keyword;
    return nullptr;
}

} // namespace

LayerConfig::LayerConfig(Str const& line, char const* file, int lineNumber)
    : m_bStatic(false), m_bLinkDynamic(false), m_bLoadDynamic(false), m_bDerivative(false)
{
    StringTokenizer words(line, Str(" \t"));
    if (!words.HasMoreTokens())
        return;
    m_LayerName = ReadWord(words.GetNextToken());
    m_PlainName = m_LayerName;
    while (words.HasMoreTokens()) {
        Str word = words.GetNextToken();
        if (IsComment(word))
            break;
        ParseConfigToken(ReadWord(word), words, file, lineNumber);
    }
}

LayerConfig::LayerConfig(Str const& name, Str const& plainName)
    : m_LayerName(name), m_PlainName(plainName), m_bStatic(false), m_bLinkDynamic(false),
      m_bLoadDynamic(false), m_bDerivative(false)
{
}

LayerConfig::LayerConfig(LayerConfig& other)
    : m_LayerName(other.m_LayerName), m_PlainName(other.m_PlainName), m_bStatic(other.m_bStatic),
      m_bLinkDynamic(other.m_bLinkDynamic), m_bLoadDynamic(other.m_bLoadDynamic), m_bDerivative(false)
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
        // A binding unit names a folder of its own (-linkdir) and a class;
        // names that would leave or be the output folder are refused.
        if (unit.IsEmpty() || unit == "." || unit == "..") {
            Str text;
            text.Format("invalid binding unit '%s' for layer %s ignored", unit.GetBuffer(),
                        m_LayerName.GetBuffer());
            ErrorLog::OnWarning(text, file, lineNumber);
            return true;
        }
        SetBindingUnit(unit);
        return true;
    }
    if (m_IfConfigName.IsEmpty()) {
        m_IfConfigName = word;
        if (char const* keyword = KeywordLike(word)) {
            Str text;
            if (word == keyword)
                text.Format("'%s' names no binding unit for layer %s and is taken as the name of a run-time feature "
                            "switch", keyword, m_LayerName.GetBuffer());
            else
                text.Format("'%s' for layer %s is taken as the name of a run-time feature switch, not as the "
                            "keyword '%s' (keywords are lower case)",
                            word.GetBuffer(), m_LayerName.GetBuffer(), keyword);
            ErrorLog::OnWarning(text, file, lineNumber);
        }
        return true;
    }
    return false;
}
