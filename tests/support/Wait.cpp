#include "support/Wait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

bool runQueuedWork(int ms)
{
    QElapsedTimer clock;
    clock.start();
    // A marker queued now comes after the work queued before it. The work may open a dialog
    // whose loop fires the marker, but this wait only sees the marker once that loop and the
    // rest of the work have returned. A second round takes what the work queued in turn (a
    // notice after its dialog).
    for (int round = 0; round < 2; ++round) {
        bool marked = false;
        QObject context;
        QTimer::singleShot(0, &context, [&marked] { marked = true; });
        while (!marked && clock.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (!marked)
            return false;
    }
    return true;
}
