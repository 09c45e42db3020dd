#pragma once
#include <QObject>

#include <functional>

// A modal dialog opened inside a control's mouse or key handler runs its loop while that
// handler is still on the stack: the control's press or release is left half handled under the
// dialog, and a release nobody took reaches the frameless window, which drags. Work that opens
// a dialog is handed to one of these instead. It is dropped if `receiver` is destroyed first,
// so it may use the receiver freely.

// Runs `work` on the next turn of the event loop, once the handler has returned.
void runAfterHandler(QObject* receiver, std::function<void()> work);

// For a control that acts on the press: runs `work` once no mouse button is held any more,
// so the release reaches the control before the dialog takes the hand (after a few seconds
// it runs anyway, for a release the system never reported).
void runAfterRelease(QObject* receiver, std::function<void()> work);
