// The abstract scanner: fills a unit with the tokens of a byte source.
#pragma once

namespace Lex {

class Source;
class Unit;

class Tokenizer {
public:
    virtual void fill_unit(Source& src, Unit& unit) = 0;
    virtual ~Tokenizer() {}
};

} // namespace Lex
