#pragma once
#include <QObject>
#include <QTimer>

#include <utility>

// A modal dialog opened inside a control's mouse or key handler runs its loop while that
// handler is still on the stack: the control stays pressed under the dialog, and the release
// it never saw reaches the frameless window, which then drags. Work that opens a dialog is
// handed here instead and runs once the handler has returned, on the next turn of the event
// loop. It is dropped if `receiver` is destroyed first, so it may use the receiver freely.
template <typename Work>
void runAfterHandler(QObject* receiver, Work&& work)
{
    QTimer::singleShot(0, receiver, std::forward<Work>(work));
}
