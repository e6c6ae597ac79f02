#include "parser/NodePrinter.h"

#include "base/Name.h"
#include "parser/Node.h"

Str NodePrinter::Print(Node& node)
{
    Str text;
    bool closeStatement = false;
    switch (node.GetKind()) {
    case NT_FILE:
        text = "//File ";
        if (Name* name = node.GetName())
            text += name->c_str();
        break;
    case NT_ID:
        if (Name* name = node.GetName())
            text = name->c_str();
        break;
    case NT_CLASS_DECL:
        text = "class ";
        closeStatement = true;
        break;
    case NT_NS_DECL:
        text = "namespace ";
        closeStatement = true;
        break;
    case NT_USING:
        text = "using namespace ";
        closeStatement = true;
        break;
    case NT_BLOCK:
    case NT_CLASS_DEF:
    case NT_ROUND_BRACE:
    case NT_FUNC_PARAMS:
    case NT_FUNC_DEF:
    case NT_FUNC_DECL:
    case NT_INIT_DECL:
    case NT_NS_DEF:
    case NT_MODIFIER:
    case NT_CLASS_MODIFIER:
        break;
    default:
        text = " /*not implemented*/ ";
        break;
    }
    text += node.PrintChilds();
    if (closeStatement)
        text += ";\n";
    return text;
}
