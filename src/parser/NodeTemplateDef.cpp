#include "parser/NodeTemplateDef.h"

NodeTemplateDef::NodeTemplateDef(Lex::Token* keyword)
    : Node(NT_TEMPLATE_DEF), FirstAndLastToken(keyword, nullptr), m_pTemplateToken(keyword)
{
}

NodeTempleInstanceDef::NodeTempleInstanceDef(Lex::Token* first)
    : Node(NT_TEMPLE_INSTANCE_DEF), FirstAndLastToken(first, nullptr)
{
    m_pSeparator = ",";
}

Str NodeTempleInstanceDef::AsString()
{
    Str text("<");
    text += PrintChilds();
    text += ">";
    return text;
}
