#pragma once
#include <QByteArray>

// Builds the named dialog (its class name, for example "ContainReset", or a state of it such as
// "Match-pairing"),
// runs it until it is closed and returns 0; an unknown name lists the known ones on standard
// error and returns 2.
int runDialogPreview(const QByteArray& name);
