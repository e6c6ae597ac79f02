// Small token lists for parser tests: words separated by blanks become
// tokens (punctuation by its type, other words identifiers), with a blank
// white-space token between two words unless blanks is false.
#pragma once

#include "scanner/Unit.h"

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

class Snippet {
public:
    explicit Snippet(char const* words = "", char const* file = nullptr, bool blanks = true)
    {
        std::istringstream in(words);
        std::string word;
        while (in >> word) {
            if (!tokens.empty() && blanks)
                Add(200, " ");
            tokens.push_back(Add(TypeOf(word), word.c_str()));
        }
        if (file)
            for (Lex::Token* t = unit.first(); t; t = t->next())
                t->location.setup(Lex::Filename(file), 1);
    }

    Lex::Token* Add(int type, char const* text)
    {
        Lex::LanguageID lang = type == 200 ? Lex::Token::white_id
            : type == 50                   ? Lex::Token::identifier_id
                                           : Lex::Token::cpp_id;
        Lex::Token* t = new Lex::Token(type, lang, text);
        unit.append(*t);
        return t;
    }

    std::string Text() const
    {
        std::ostringstream out;
        unit.print(out);
        return out.str();
    }

    Lex::Token* operator[](size_t i) const { return tokens[i]; }

    Lex::Unit unit;
    std::vector<Lex::Token*> tokens; // the words, without the blanks

private:
    static int TypeOf(std::string const& word)
    {
        static struct {
            char const* text;
            int type;
        } const table[] = {
            {"::", 21}, {"~", 105}, {"{", 72}, {"}", 17}, {"(", 73}, {")", 18}, {",", 22},
            {":", 20},  {";", 92},  {"<", 58}, {">", 49}, {"*", 65}, {"&", 2},  {"class", 16},
            {"template", 102}, {"public", 83}, {"virtual", 114}, {"int", 54}, {"void", 115},
        };
        for (auto const& entry : table)
            if (word == entry.text)
                return entry.type;
        return 50;
    }
};
