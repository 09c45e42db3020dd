#pragma once
#include <QByteArray>

#include "HIDUsb.h"

// Opening and closing the data link with the mouse. Every place that opens or closes the
// link goes through these two, so the working image is never taken for the mouse's own
// configuration across a change of link. Called on the GUI thread they hold the blocking
// delivery's wait scope: the library may wait for its data thread, which may be waiting
// for the GUI thread.

// Clears the working image's loaded marker, then opens the link on path with OnUsbData.
// Returns the library's answer.
int OpenDataLink(const QByteArray& path);
// Clears the working image's loaded marker, then closes the link.
void CloseDataLink();
// Opens the link on a receiver with the pairing dialog's own callback in place of the data
// link. Counted as a close of the data link: after pairing the receiver may hold another
// mouse, so the working image is no longer taken for its configuration.
int OpenPairingLink(const QByteArray& path, UsbDataCallback callback);

// Counts every open and close: a short answer that waited for the GUI thread tells from it
// that the link changed meanwhile.
unsigned DataLinkGeneration();
// Counts the closes only: a Worker run tells from it that the link it opened is gone.
unsigned DataLinkCloseCount();
