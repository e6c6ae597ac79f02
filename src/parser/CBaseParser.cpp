#include "parser/CBaseParser.h"

bool CBaseParser::ProcessToken()
{
    if (CRoundBlockParser::ProcessToken())
        return true;
    return false;
}
