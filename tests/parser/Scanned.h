// A small source text scanned into a unit for parser tests (all keyword
// sets on, as in a run), with look-ups of its tokens by text.
#pragma once

#include "base/Name.h"
#include "parser/NodeID.h"
#include "scanner/CScanner.h"
#include "scanner/ErrorCollector.h"
#include "scanner/Unit.h"

#include <cstring>
#include <sstream>
#include <string>

class Scanned {
public:
    explicit Scanned(char const* text, char const* file = "t.h")
    {
        unit.name(file);
        Lex::ErrorCollector errors;
        Lex::CScanner scanner(errors);
        scanner.aspect_keywords(true);
        scanner.fill_unit(text, unit);
    }

    // The n-th token (from 0) with this text; null when there is none.
    Lex::Token* operator()(char const* text, int n = 0) const
    {
        for (Lex::Token* t = unit.first(); t; t = t->next())
            if (strcmp(t->text->text, text) == 0 && n-- == 0)
                return t;
        return nullptr;
    }

    // The printed unit.
    std::string Text() const
    {
        std::ostringstream out;
        unit.print(out);
        return out.str();
    }

    // An id over first..last named by the texts of the identifiers and
    // `::` between them.
    NodeID* Id(Lex::Token* first, Lex::Token* last = nullptr) const
    {
        if (!last)
            last = first;
        std::string name;
        for (Lex::Token* t = first; t; t = t->next()) {
            if (t->type == Lex::TOK_ID || t->type == Lex::TOK_COLON_COLON)
                name += t->text->text;
            if (t == last)
                break;
        }
        return new NodeID(first, last, QualName::GetName(name.c_str()));
    }
    NodeID* Id(char const* text, int n = 0) const { return Id((*this)(text, n)); }

    Lex::Unit unit;
};
