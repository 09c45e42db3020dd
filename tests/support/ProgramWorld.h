#pragma once
// The world of an end-to-end test of the whole program: a TestEnv with every shipped data file,
// the stores reloaded over it, the registry below its home, and no device chosen, listed or
// loaded from an earlier test. The registry folder goes back when the world ends.
#include "support/TestEnv.h"

class DialogMain;
namespace linktest {
class HubRecorder;
}

struct ProgramWorld {
    TestEnv env;
    ProgramWorld();
    ~ProgramWorld();
    ProgramWorld(const ProgramWorld&) = delete;
    ProgramWorld& operator=(const ProgramWorld&) = delete;
};

// How long a test waits for a load before it gives up: a guard against a hang, long enough
// for a sanitizer build on a machine busy with other work.
constexpr int LoadWaitMs = 30000;

// Waits, delivering the library's answers, until the load begun after `mark` has ended
// (HubRecorder::loadEndedSince). False after `ms` without it.
bool waitForLoad(const linktest::HubRecorder& hub, int mark, int ms = LoadWaitMs);

// Clicks the window's first device tile, once it is there, and waits until its load has
// ended: the pages hold the mouse's images and the busy dialog's wait has run out.
bool loadFirstTile(DialogMain& window, linktest::HubRecorder& hub);
