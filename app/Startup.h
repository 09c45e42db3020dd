#pragma once
#include <functional>

class QWidget;

// Builds the program's top-level window; called once, after the single-instance check passed.
using TopWindowFactory = std::function<QWidget*()>;

// The program's start: prepares the per-user folders, purges old log and crash files, creates
// the application object, makes sure only one instance runs for the user (a second start shows
// the ExeIsRun notice and returns 0), installs the crash report writer, tells the user when the
// per-user data folder cannot be used (the UserFolderFail notice; the program still runs), shows
// the top-level window, which SIGTERM, SIGINT and SIGHUP close as its close button would, and
// runs the event loop. Returns the process exit status.
int runProgram(int& argc, char** argv, const TopWindowFactory& makeTopWindow);
