#include "output/InterfaceCreator.h"

#include "parser/Info.h"

InterfaceCreator::InterfaceCreator(Str const& name) : m_ClassFile(name), m_Builder(name), m_Name(name) {}

Str InterfaceCreator::GetClassBody()
{
    ClassInfo* cls = m_Builder.GetClass();
    return cls ? cls->AsString() : Str();
}

bool InterfaceCreator::WriteFile(char const* folder)
{
    Str text = GetClassBody();
    char const* begin = text.GetBuffer();
    size_t length = text.GetLength();
    auto blank = [](char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; };
    while (length > 0 && blank(*begin)) {
        ++begin;
        --length;
    }
    while (length > 0 && blank(begin[length - 1]))
        --length;
    // Drop the closing "};" so that the extra members go inside the class.
    length = length >= 2 ? length - 2 : 0;
    Str out;
    out.SetData(begin, length);
    out += m_ExtraBody;
    out += "};\n";
    return m_ClassFile.WriteClass(folder, out);
}
