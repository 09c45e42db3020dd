#pragma once
// The world of an end-to-end test of the whole program: a TestEnv with every shipped data file,
// the stores reloaded over it, the registry below its home, and no device chosen, listed or
// loaded from an earlier test. The registry folder goes back when the world ends.
#include "support/TestEnv.h"

struct ProgramWorld {
    TestEnv env;
    ProgramWorld();
    ~ProgramWorld();
    ProgramWorld(const ProgramWorld&) = delete;
    ProgramWorld& operator=(const ProgramWorld&) = delete;
};
