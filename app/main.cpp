#include "app/Startup.h"
#include "shell/DialogMain.h"

int main(int argc, char* argv[])
{
    // The top-level window lives until the process ends.
    return runProgram(argc, argv, [] { return new DialogMain; });
}
