#pragma once

// The program's fixed waits, in one place. Each is given in real milliseconds. The test suite
// scales them all down at once (setWaitScale), so it checks the same order of events without
// sleeping through real time; the program itself always waits the real durations.
namespace ProgramWaits {

constexpr int BusyStartMs = 4500;        // the busy dialog's timer
constexpr int BusyCheckMs = 500;         // between two checks of the pages
constexpr int BusyWaitModeHoldMs = 2000; // the hold after a change reported by the mouse
constexpr int TileClickMs = 150;         // after a tile click, before the Worker starts
constexpr int BackArrowMs = 100;         // the back arrow, before the link closes
constexpr int OnlinePollMs = 1300;       // the online poll
constexpr int QuitMs = 200;              // quitting, before the link closes
constexpr int MacroEditSendMs = 1500;    // a macro's saved events, before its keys get them

// The duration to wait for a real one of `realMs` (never 0 for a wait that is not 0).
int scaled(int realMs);

// Tests only: every wait becomes `scale` times its real duration (1 restores them).
void setWaitScale(double scale);
double waitScale();

}  // namespace ProgramWaits
