// The entry of the structural parser: parses one scanned unit at a time into
// a per-file result with its class database, and keeps a project-wide
// database of everything it has parsed.
#pragma once

#include "parser/CParserState.h"
#include "parser/ClassDB.h"
#include "scanner/ErrorCollector.h"

namespace Lex {
class TokenProvider;
class Unit;
}

class CTokenListener;
class NodeFile;
class ParseServices;
class SimpleTU;

class SimpleCPPParser {
public:
    SimpleCPPParser();
    SimpleCPPParser(SimpleCPPParser const&) = delete;
    SimpleCPPParser& operator=(SimpleCPPParser const&) = delete;

    // Parses the unit; the new result is the caller's. Null for an empty
    // unit or a fatal parse error (the result is freed then).
    SimpleTU* parse(Lex::Unit& unit, ParseServices& project);
    // The token loop over a provider positioned at the file's first token.
    void parse(Lex::TokenProvider& provider);

    // Not owned; null for none.
    void SetTokenListener(CTokenListener* listener) { m_pTokenListener = listener; }
    CTokenListener* GetTokenListener() const { return m_pTokenListener; }
    NodeFile* GetFileNode() const { return m_pFileNode; }
    CParserState& GetState() { return m_ParserState; }
    ClassDB& GetProjectDB() { return m_ProjectDB; }

private:
    Lex::ErrorCollector m_Errors;
    NodeFile* m_pFileNode;
    CParserState m_ParserState;
    CTokenListener* m_pTokenListener;
    ClassDB m_ProjectDB;
};

// Reports a warning of the parse, "<file>(<line>) : warning: <message>", as
// every warning is: on standard error and in the log.
void printwarning(char const* message, char const* file, int line);
