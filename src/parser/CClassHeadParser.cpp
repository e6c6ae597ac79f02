#include "parser/CClassHeadParser.h"

bool CClassHeadParser::ProcessToken()
{
    if (CBaseParser::ProcessToken())
        return true;
    return false;
}
