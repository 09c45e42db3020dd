#pragma once
#include <QString>

// Whether a message is the one X error that Qt's X11 plugin causes itself: "XCB error: 3
// (BadWindow) ... major code: 40 (TranslateCoords)". When a modal dialog closes under the
// pointer, Qt emulates an Enter event for the window below and asks the server for pointer
// coordinates in windows that the window manager is just destroying (the closed dialog's
// frame). The race is inside Qt and harmless.
bool isQtTranslateCoordsRace(const char* category, const QString& text);

// Installs the program's message handler: it drops that one message and hands every other one
// to the handler that was installed before (Qt's own output to standard error).
void installMessageFilter();
