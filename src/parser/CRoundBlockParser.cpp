#include "parser/CRoundBlockParser.h"

bool CRoundBlockParser::ProcessToken()
{
    // No statement token is taken yet.
    return false;
}
