#include "pages/macro/KeyClock.h"

#include <QElapsedTimer>

namespace {
std::function<qint64()>& replacement()
{
    static std::function<qint64()> clock;
    return clock;
}
}  // namespace

qint64 keyClockNow()
{
    if (replacement())
        return replacement()();
    static QElapsedTimer monotonic;
    if (!monotonic.isValid())
        monotonic.start();
    return monotonic.elapsed();
}

void setKeyClock(std::function<qint64()> clock)
{
    replacement() = std::move(clock);
}
