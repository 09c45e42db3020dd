#pragma once
#include <QLoggingCategory>

// The program's trace lines ("Start", "q", "OnlinA" ...): which step of a load or a busy
// dialog ran. Off by default, so standard error stays quiet in normal use; turn them on with
// QT_LOGGING_RULES="kavro.trace.debug=true".
Q_DECLARE_LOGGING_CATEGORY(kavroTrace)
