#pragma once
#include <QByteArray>
#include <QString>

#include "HIDUsb.h"

// Opening and closing the data link with the mouse. Every place that opens or closes the
// link goes through these two, so the working image is never taken for the mouse's own
// configuration across a change of link. Called on the GUI thread they hold the blocking
// delivery's wait scope: the library may wait for its data thread, which may be waiting
// for the GUI thread.

// Opens the link on path with OnUsbData. The working image's loaded marker stays only when
// the image was loaded from this same path (see device/WorkingImage.h). Returns the library's
// answer.
int OpenDataLink(const QByteArray& path);
// Clears the working image's loaded marker, then closes the link.
void CloseDataLink();
// Opens the link on a receiver with the pairing dialog's own callback in place of the data
// link. Counted as a close of the data link: after pairing the receiver may hold another
// mouse, so the working image is no longer taken for its configuration.
int OpenPairingLink(const QByteArray& path, UsbDataCallback callback);

// Counts every open and close and every device change: an answer that waited for the GUI
// thread tells from it that the link changed meanwhile.
unsigned DataLinkGeneration();
// Counts the closes only: a Worker run tells from it that the link it opened is gone.
unsigned DataLinkCloseCount();

// Asks the mouse on the open link for its whole configuration. The answer is installed only
// while the link generation of this ask lasts; it then belongs to the device current now.
// Nothing is asked when no link is open or the device changed since it was opened.
void RequestFullRead();
// What the last full read was asked for: the link generation and the cache file name of the
// device then current.
struct FullReadAsk {
    unsigned generation = ~0u;
    QString cacheName;
    unsigned imagesSent = 0;   // images handed to the mouse before the ask
    unsigned runRequests = 0;  // Worker runs asked for before the ask
};
FullReadAsk LastFullReadAsk();
// Counts the images handed to the mouse. A full answer asked before the latest of them may
// describe the mouse without it (it was read while the write was on its way): installed, it
// would put the old values back on the pages, into the macro files and, with the next
// change, into the mouse.
void NoteImageSent();
unsigned ImagesSent();
// A setter found the mouse online but no configuration loaded: asks for the full read again,
// at most once per link generation. True when it asked.
bool RequestFullReadOncePerLink();
