#pragma once
#include <QtGlobal>

#include <functional>

// The millisecond clock that the key-combination dialog and the recorder measure key timing
// with: a monotonic clock, replaceable so that tests can set the time.
qint64 keyClockNow();

// Replaces the clock; an empty function restores the monotonic clock.
void setKeyClock(std::function<qint64()> clock);

// An elapsed-time timer on the key clock.
class KeyTimer {
public:
    void start() { m_start = keyClockNow(); m_valid = true; }
    void restart() { start(); }
    bool isValid() const { return m_valid; }
    qint64 elapsed() const { return m_valid ? keyClockNow() - m_start : 0; }

private:
    qint64 m_start = 0;
    bool m_valid = false;
};
