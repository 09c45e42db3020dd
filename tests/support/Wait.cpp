#include "support/Wait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

bool runQueuedWork(int ms)
{
    // A marker queued now comes after the work queued before it. The work may open a dialog
    // whose loop fires the marker, but this wait only sees the marker once that loop and the
    // rest of the work have returned.
    bool marked = false;
    QObject context;
    QTimer::singleShot(0, &context, [&marked] { marked = true; });
    QElapsedTimer clock;
    clock.start();
    while (!marked && clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return marked;
}
