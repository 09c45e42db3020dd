#pragma once

// Waits `ms` milliseconds on the GUI thread while it goes on processing events, in slices of
// at most 100 ms, so queued page refreshes and timers keep running meanwhile. Returns early
// once the application exits.
void WaitProcessingEvents(int ms);
