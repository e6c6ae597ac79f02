// A unit: the token list of one source, with its name.
#pragma once

#include "scanner/List.h"
#include "scanner/Printable.h"
#include "scanner/Token.h"

#include <ctime>

namespace Lex {

struct FOPLayerInfo; // opaque; never defined

class Unit : public Printable, public List, public ListElement {
public:
    Unit();
    Unit(Unit const& other);
    Unit& operator=(Unit const&) = delete;
    // Frees the names and deletes every token.
    ~Unit() override;

    Token* first() const { return static_cast<Token*>(List::first()); }
    Token* last() const { return static_cast<Token*>(List::last()); }

    // Store a new[] copy of s (null for null) and return it.
    virtual char const* name(char const* s);
    virtual char const* destName(char const* s);
    char const* name() const { return m_name; }
    char const* destName() const { return m_dest_name; }

    void layer(FOPLayerInfo* l) { m_layer = l; }
    FOPLayerInfo* layer() const { return m_layer; }

    virtual bool isFile() const { return false; }
    virtual bool isMacroExp() const { return false; }

    // A unit in no list with duplicates of all tokens and the same settings.
    Unit* duplicate() const override;

    // Prints the tokens (all, up to and including last, or first..last),
    // with an optional source-file line and line directives.
    void print(std::ostream& os) const override;
    void print(std::ostream& os, Token const* last) const;
    void print(std::ostream& os, Token const* first, Token const* last) const;

    time_t mtime;               // modification time of the scanned file
    bool print_source_file;     // print starts with a source-file line
    bool print_line_directives; // print writes #line directives

private:
    char* m_name;
    char* m_dest_name;
    FOPLayerInfo* m_layer;
};

} // namespace Lex
