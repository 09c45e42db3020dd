#pragma once

// Writes a crash report into "<per-user folder>/Exception/yyyy_MM_dd_hh_mm_ss.dmp" (local time)
// when the program dies of a fatal signal (segmentation fault, abort, bus error, illegal
// instruction, floating-point error) or of an uncaught C++ exception, then lets the process end
// as the crash it is. The report holds the signal, the thread id and a backtrace of the failing
// thread.
class CrashHandler {
public:
    // Installs the handlers for the whole process. The report folder and the UTC offset are
    // taken now, because the signal handler may not ask for them. A stack overflow is
    // reported only on the calling thread, the one that gets the handler's own stack.
    void install();
};

// Writes the report for `signalNumber` (async-signal-safe: no allocation, no locks). `detail` is
// an optional extra line. Returns 1, as the system's filter would to say the crash was handled.
int CrashDumpFilter(int signalNumber, const char* detail = nullptr);

// Fills `name` with "yyyy_MM_dd_hh_mm_ss.dmp" for a UTC time and a UTC offset in seconds.
// Pure arithmetic, safe inside a signal handler.
void crashReportFileName(long long utcSeconds, long offsetSeconds, char (&name)[24]);
