// A parser state set up over a scanned text as the parse driver sets it up
// for a file: a token provider over the unit, a file node with its scope,
// a file result and a project database.
#pragma once

#include "Scanned.h"

#include "parser/CParserState.h"
#include "parser/NodeFile.h"
#include "parser/Scope.h"
#include "parser/SimpleTU.h"
#include "scanner/ErrorStream.h"
#include "scanner/TokenProvider.h"
#include "scanner/TokenStream.h"

#include <cstring>
#include <iostream>

struct ParseState {
    explicit ParseState(char const* text, char const* file = "t.h", CParserState* shared = nullptr,
                        ClassDB* project = nullptr)
        : scanned(text, file), stream(), provider(Start(stream, scanned.unit)), errors(std::cerr), tu(errors),
          state(shared ? *shared : own)
    {
        fileNode = new NodeFile(nullptr, file);
        fileScope = new FileScope(*fileNode);
        state.SetProjectDB(project ? project : &projectDB);
        state.SetFileDB(tu.db());
        state.SetFileName(file);
        provider.start();
        state.Init(provider, *fileScope, fileNode);
    }

    // Steps as the driver does until the current token has this text (the
    // n-th such token); false at the end of the file.
    bool MoveTo(char const* text, int n = 0)
    {
        while (Lex::Token* token = state.NextToken())
            if (strcmp(token->text->text, text) == 0 && n-- == 0)
                return true;
        return false;
    }

    Scanned scanned;
    Lex::TokenStream stream;
    Lex::TokenProvider provider;
    Lex::ErrorStream errors;
    SimpleTU tu;
    ClassDB projectDB;
    CParserState own;
    CParserState& state;
    NodeFile* fileNode;
    FileScope* fileScope;

private:
    static Lex::TokenStream& Start(Lex::TokenStream& stream, Lex::Unit& unit)
    {
        stream.push(&unit);
        return stream;
    }
};
