#include "compose/LayerConfig.h"

#include "base/ErrorLog.h"
#include "base/StringTokenizer.h"

#include <cstring>

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

} // namespace

LayerConfig::LayerConfig(Str const& line)
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
        ParseConfigToken(ReadWord(word), words);
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

bool LayerConfig::ParseConfigToken(Str const& word, StringTokenizer& rest)
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
            ErrorLog::OnWarning(text);
            return true;
        }
        SetBindingUnit(unit);
        return true;
    }
    if (m_IfConfigName.IsEmpty()) {
        m_IfConfigName = word;
        return true;
    }
    return false;
}
