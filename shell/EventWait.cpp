#include "shell/EventWait.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>

void WaitProcessingEvents(int ms)
{
    constexpr int SliceMs = 100;
    QElapsedTimer clock;
    clock.start();
    for (qint64 left = ms; left > 0; left = ms - clock.elapsed()) {
        QEventLoop loop;
        QTimer::singleShot(int(std::min<qint64>(left, SliceMs)), &loop, &QEventLoop::quit);
        loop.exec();
    }
}
