#include "app/StandInMainWindow.h"
#include "app/Startup.h"

int main(int argc, char* argv[])
{
    return runProgram(argc, argv, [] { return new StandInMainWindow; });
}
