#pragma once
#include "support/ProgramWorld.h"

// For test programs that stage the shipped data once and run every case in it: staging takes
// a while, so the world lives for the whole program and each case starts from a fresh
// library and fresh shared state instead.
class SharedWorld {
public:
    TestEnv& env() { return m_world.env; }

    // Before a case: no hot-plug call or answer of an earlier case can reach it, the stores are
    // read again, no page is busy or filled, writes are allowed and model 1 is chosen.
    static void startCase();
    // After a case: the data link closed, no image loaded, no device current, writes refused.
    static void endCase();

private:
    ProgramWorld m_world;
};
