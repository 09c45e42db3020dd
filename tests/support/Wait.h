#pragma once
// Waiting in tests for something another thread or the event loop brings about.
#include <functional>

// Polls `done` until it holds or `ms` milliseconds pass; on the GUI thread it keeps
// processing events meanwhile. Returns the final value of `done`.
bool spinUntil(const std::function<bool()>& done, int ms = 5000);

// After a control whose handler queued its work (a dialog and what follows it): returns once
// that work has run to its end, dialogs answered meanwhile by a ModalAnswerer. False when it
// did not end within `ms`: a guard against a hang, wide enough for a flow with its own
// waits (a firmware repair) on a loaded machine with two cores.
bool runQueuedWork(int ms = 30000);
