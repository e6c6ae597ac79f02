#include "parser/MethodBodyParser.h"

bool MethodBodyParser::ProcessToken()
{
    if (CClassHeadParser::ProcessToken())
        return true;
    return false;
}
