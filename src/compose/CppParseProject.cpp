#include "compose/CppParseProject.h"

CppParseProject& CppParseProject::GetInstance()
{
    static CppParseProject project;
    return project;
}
