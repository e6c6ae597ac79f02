#include "parser/NodeFile.h"

#include "base/Name.h"

NodeFile::NodeFile(Lex::Token* first, char const* fileName)
    : NodeBlock(NT_FILE, first), m_FileInfo(Name::GetName(fileName ? fileName : ""))
{
}
