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
        bool sliceOver = false;
        QTimer::singleShot(int(std::min<qint64>(left, SliceMs)), &loop, [&loop, &sliceOver] {
            sliceOver = true;
            loop.quit();
        });
        loop.exec();
        // Ended by nobody but the application's exit, which also turns every later loop away
        // at once: waiting on would only spin.
        if (!sliceOver)
            return;
    }
}
