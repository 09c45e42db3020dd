#pragma once
// Waiting in tests for something another thread or the event loop brings about.
#include <functional>

// Polls `done` until it holds or `ms` milliseconds pass; on the GUI thread it keeps
// processing events meanwhile. Returns the final value of `done`.
bool spinUntil(const std::function<bool()>& done, int ms = 5000);
