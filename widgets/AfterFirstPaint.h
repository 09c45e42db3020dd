#pragma once
#include <QObject>

#include <functional>

// Runs `work` on the next turn of the event loop after `watched` is first painted (with the
// application object as `watched`: after any widget's first paint). Work the window does not
// need for its first picture waits until that picture is on the screen. Dropped if `receiver`
// is destroyed first.
void runAfterFirstPaint(QObject* watched, QObject* receiver, std::function<void()> work);
