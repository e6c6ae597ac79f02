// The root node of one source file: a block from the "\n" token the parse
// driver puts in front of the file through the last token it handled, with
// the file's info.
#pragma once

#include "parser/Info.h"
#include "parser/NodeBrace.h"

class NodeFile : public NodeBlock {
public:
    NodeFile(Lex::Token* first, char const* fileName);

    FileInfo& GetFileInfo() { return m_FileInfo; }

private:
    FileInfo m_FileInfo;
};
