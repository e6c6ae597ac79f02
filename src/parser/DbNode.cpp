#include "parser/DbNode.h"

Str DbNodeSpecial::AsString()
{
    Str text(m_pOpen ? m_pOpen : "");
    text += PrintChilds();
    text += m_pClose ? m_pClose : "";
    return text;
}

DbNode* DbNode::Create(DbNodeTypes kind, char const* text)
{
    DbNode* node = nullptr;
    switch (kind) {
    case DB_TEXT0:
    case DB_TEXT1:
    case DB_TYPE:
    case DB_TEXT3:
    case DB_TEXT4:
        node = new DbNodeText(kind);
        break;
    case DB_CLASS:
        node = new DbNodeSpecial(kind, "class ", ";");
        break;
    case DB_USING:
        node = new DbNodeSpecial(kind, "using namespace ", ";\n");
        break;
    case DB_NAMESPACE_HEAD:
        node = new DbNodeSpecial(kind, "namespace ", nullptr);
        break;
    case DB_BLOCK:
        node = new DbNodeSpecial(kind, "{\n", "}");
        break;
    case DB_INIT:
        node = new DbNodeSpecial(kind, ":", "\n");
        break;
    case DB_ROUND:
        node = new DbNodeSpecial(kind, "(", ")");
        break;
    case DB_FUNC_PARAMS:
    case DB_FUNC:
    case DB_NAMESPACE:
        node = new DbNode(kind);
        break;
    default:
        return nullptr;
    }
    if (text && *text)
        node->m_Text = text;
    return node;
}
