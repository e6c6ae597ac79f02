#include "base/XmlString.h"

#include <cstring>

XmlString& XmlString::Open(char const* tag)
{
    *this += "<";
    *this += tag;
    *this += ">";
    return *this;
}

XmlString& XmlString::Open(char const* tag, char const* attributes)
{
    *this += "<";
    *this += tag;
    *this += " ";
    *this += attributes;
    *this += ">";
    return *this;
}

XmlString& XmlString::Close(char const* tag)
{
    *this += "</";
    *this += tag;
    *this += ">";
    return *this;
}

XmlString& XmlString::AddSimple(char const* tag)
{
    *this += "<";
    *this += tag;
    *this += " />";
    return *this;
}

XmlString& XmlString::Add(char const* tag, char const* text)
{
    Open(tag);
    *this += text;
    return Close(tag);
}

XmlString& XmlString::Add(char const* tag, char const* attributes, char const* text)
{
    Open(tag, attributes);
    *this += text;
    return Close(tag);
}

XmlString& XmlString::AddText(char const* text)
{
    *this += EncodeText(text);
    return *this;
}

Str XmlString::EncodeText(Str text)
{
    text.Replace("&", "&amp;");
    text.Replace("\"", "&quot;");
    text.Replace("<", "&lt;");
    text.Replace(">", "&gt;");
    return text;
}

int XmlString::Find(char const* what, int start) const
{
    if (start < 0 || static_cast<size_t>(start) > GetLength())
        return -1;
    char const* found = strstr(GetBuffer() + start, what);
    return found ? static_cast<int>(found - GetBuffer()) : -1;
}

int XmlString::FindXml(char const* tag, int start) const
{
    if (start < 0 || static_cast<size_t>(start) >= GetLength())
        return 0;
    Str open = "<" + Str(tag);
    if (Find(open, start) < 0)
        return 0;
    int index = Find(open + ">", start);
    if (index < 0)
        index = Find(open + " />", start);
    return index;
}

int XmlString::FindXml(char const* tag, Str& content, int start) const
{
    Str open = "<" + Str(tag);
    int index = Find(open + ">", start);
    if (index < 0)
        return Find(open + " />", start);
    int behind = index + static_cast<int>(open.GetLength()) + 1;
    int close = Find("</" + Str(tag) + ">", behind);
    if (close < 0)
        return -1;
    content.SetData(GetBuffer() + behind, static_cast<size_t>(close - behind));
    return behind;
}
