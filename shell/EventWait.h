#pragma once

// Waits `ms` milliseconds on the GUI thread while it goes on processing events, in slices of
// at most 100 ms, so queued page refreshes and timers keep running meanwhile.
void WaitProcessingEvents(int ms);
