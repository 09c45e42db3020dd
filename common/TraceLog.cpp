#include "common/TraceLog.h"

Q_LOGGING_CATEGORY(kavroTrace, "kavro.trace", QtWarningMsg)
