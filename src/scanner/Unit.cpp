#include "scanner/Unit.h"

#include "scanner/StrCol.h"

#include <ostream>

namespace Lex {

Unit::Unit()
    : mtime(0), print_source_file(false), print_line_directives(false),
      m_name(nullptr), m_dest_name(nullptr), m_layer(nullptr)
{
}

Unit::Unit(Unit const& other)
    : Printable(), List(other), ListElement(), mtime(other.mtime),
      print_source_file(other.print_source_file),
      print_line_directives(other.print_line_directives),
      m_name(StrCol::dup(other.m_name)), m_dest_name(StrCol::dup(other.m_dest_name)),
      m_layer(other.m_layer)
{
}

Unit::~Unit()
{
    delete[] m_name;
    delete[] m_dest_name;
    clear();
}

char const* Unit::name(char const* s)
{
    char* copy = StrCol::dup(s); // s may be the current name
    delete[] m_name;
    m_name = copy;
    return m_name;
}

char const* Unit::destName(char const* s)
{
    char* copy = StrCol::dup(s);
    delete[] m_dest_name;
    m_dest_name = copy;
    return m_dest_name;
}

Unit* Unit::duplicate() const
{
    return new Unit(*this);
}

void Unit::print(std::ostream& os) const
{
    print(os, first(), nullptr);
}

void Unit::print(std::ostream& os, Token const* last) const
{
    print(os, first(), last);
}

namespace {

void line_directive(std::ostream& os, int line, Filename const& file)
{
    os << "#line " << line << " \"";
    file.print(os);
    os << '"' << std::endl;
}

} // namespace

void Unit::print(std::ostream& os, Token const* from, Token const* last) const
{
    if (!from)
        from = first();
    if (m_name) {
        if (print_source_file)
            os << "//SourceFile: \"" << m_name << '"' << std::endl;
        if (print_line_directives && from && from->location.line() != 0)
            line_directive(os, from->location.line(), Filename(m_name));
    }
    for (Token const* t = from; t; t = t->next()) {
        t->print(os);
        if (print_line_directives) {
            Token const* n = t->next();
            if (n && !n->location.empty()) {
                int line = t->location.line();
                if (t->location.empty() || n->location.filename() != t->location.filename() ||
                    (n->location.line() != line && n->location.line() != line + 1)) {
                    os << std::endl;
                    line_directive(os, n->location.line(), n->location.filename());
                }
            }
        }
        if (t == last)
            break;
    }
}

} // namespace Lex
