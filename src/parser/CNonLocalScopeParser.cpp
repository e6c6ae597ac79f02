#include "parser/CNonLocalScopeParser.h"

bool CNonLocalScopeParser::ProcessToken()
{
    if (CClassHeadParser::ProcessToken())
        return true;
    return false;
}

bool CGlobalScopeParser::ProcessToken()
{
    if (CNonLocalScopeParser::ProcessToken())
        return true;
    return false;
}

bool CClassBodyParser::ProcessToken()
{
    if (CNonLocalScopeParser::ProcessToken())
        return true;
    return false;
}

bool CAspectParser::ProcessToken()
{
    if (CClassBodyParser::ProcessToken())
        return true;
    return false;
}
