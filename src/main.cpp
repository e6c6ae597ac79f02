// Entry point of mosa++: the exit code is the application's.
#include "compose/Application.h"

int main(int argc, char** argv)
{
    return Application::GetInstance()->Run(argc, argv);
}
